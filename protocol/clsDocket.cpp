#include "protocol/clsDocket.h"

#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsDocket";

// The wire form of a request: the "xmlns:SOAP" value in tripled quotes, as the server expects
// it. False when the utility reports failure.
bool toWireText(SystemUtility& utility, std::string& text) {
  return utility.ReplaceText(text, "SOAP=\"", "SOAP=\"\"\"", 0) &&
         utility.ReplaceText(text, "\"><SOAP", "\"\"\"><SOAP", 0) && utility.ConvertText(text, 0);
}

void logExchangeText(std::string_view label, std::string_view text) {
  clsApplication& application = requireApplication();
  if (application.DebugLevel() < dlTwo) return;
  application.pblnLog("");
  application.pblnLog(std::string(label) + std::string(text));
}

}  // namespace

InertDocket& InertDocket::instance() {
  static InertDocket inert;
  return inert;
}

clsDocket::clsDocket() : document_(std::make_shared<dks::XmlDocument>()) {}

void clsDocket::setScript(std::string_view strNew) {
  script_ = trimSpaces(strNew);
}

std::string clsDocket::XMLText() const {
  return attemptValue<std::string>(kClass, "XMLText", [&] { return document_->xml(); });
}

bool clsDocket::pblnCreateFile(std::string_view strFile) {
  return attempt(kClass, "pblnCreateFile", [&] {
    if (requireApplication().DebugLevel() < dlFour) return;
    const std::string file = trimSpaces(strFile);
    if (file.empty()) throw Failure::parameterMissing();
    auto stream = requireApplication().platform().CreateFileSystem()->CreateTextFile(file, true);
    stream->Write(document_->xml());
    stream->Close();
  });
}

bool clsDocket::pblnLoadXML(std::string_view strXML) {
  return attempt(kClass, "pblnLoadXML", [&] {
    const std::string text = trimSpaces(strXML);
    if (text.empty()) throw Failure::parameterMissing();
    logExchangeText("XMLRequest=", text);
    document_ = std::make_shared<dks::XmlDocument>();
    document_->loadXML(text);  // text that does not parse leaves the new document empty
  });
}

bool clsDocket::pblnReset() {
  return attempt(kClass, "pblnReset", [&] { document_ = std::make_shared<dks::XmlDocument>(); });
}

bool clsDocket::pblnSendXML(std::string& strResponse) {
  return attempt(kClass, "pblnSendXML", [&] {
    strResponse.clear();
    std::string request = document_->xml();
    if (request.empty() || script_.empty()) throw Failure::parameterMissing();
    SystemUtility& utility = requireUtility();
    if (!toWireText(utility, request)) return false;
    std::unique_ptr<HttpRequest> http = requireApplication().platform().CreateHttpRequest();
    http->open("GET", script_);
    http->send(request);
    strResponse = http->responseText();
    logExchangeText("XMLResponse=", strResponse);
    return utility.ConvertText(strResponse, 1);
  });
}

}  // namespace dks
