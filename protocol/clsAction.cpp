#include "protocol/clsAction.h"

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsAction";

bool isReportingAction(int32_t code) {
  return code == raDelete || code == raSave || code == raMove || code == raUpdate;
}

int32_t keyIdOf(int32_t code) {
  switch (code) {
    case raDelete:
      return kDeleteActionKey;
    case raSave:
      return kSaveActionKey;
    case raMove:
      return kMoveActionKey;
    case raUpdate:
      return kUpdateActionKey;
    default:
      return kApplicationKey;
  }
}

}  // namespace

const char* actionWord(int32_t code) {
  switch (code) {
    case raDelete:
      return "delete";
    case raSave:
      return "save";
    case raMove:
      return "move document";
    case raUpdate:
      return "update usage";
    default:
      return "list documents";
  }
}

DumpRequest dumpRequest(int32_t lngFile, int32_t ownCode) {
  if (lngFile == cfAll || lngFile == ownCode) return DumpRequest::required;
  if (lngFile == cfIgnore + cfAll || lngFile == cfIgnore + ownCode)
    return DumpRequest::failuresIgnored;
  return DumpRequest::none;
}

InertAction& InertAction::instance() {
  static InertAction inert;
  return inert;
}

clsAction::clsAction() {
  pblnReset();
}

clsAction::~clsAction() {
  ignoreFailures([&] {
    if (!gobjUtility) return;
    gobjUtility->DeleteFile(requestLog_, true);
    gobjUtility->DeleteFile(responseLog_, true);
  });
}

void clsAction::setAction(int32_t value) {
  action_ = value;
  pblnReset();
}

void clsAction::setRequestLog(std::string_view value) {
  requestLog_ = lowerCase(trimSpaces(value));
}

void clsAction::setResponseLog(std::string_view value) {
  responseLog_ = lowerCase(trimSpaces(value));
}

void clsAction::setScript(std::string_view value) {
  script_ = trimSpaces(value);
}

void clsAction::setURN(std::string_view value) {
  urn_ = properCase(trimSpaces(value));
}

bool clsAction::pblnReset() {
  return attempt(kClass, "pblnReset", [&] {
    const clsApplication& application = requireApplication();
    const std::string server = application.Host() + ":" + application.Port() + "/";
    setResponseLog(application.ResponseLog());
    setRequestLog(application.RequestLog());
    setScript(isReportingAction(action_) ? application.Script() : server + "listDocuments");
    setURN(application.URN());

    SystemUtility& utility = requireUtility();
    std::string keyPath;
    if (!utility.GetKeyPath(keyIdOf(action_), keyPath)) return false;
    // Each override, when not blank, replaces the setting; "Script" holds only the path.
    std::string value;
    if (!readRegistryText(keyPath, "\\RequestLog", requestLog_, value)) return false;
    if (!value.empty()) setRequestLog(value);
    if (!readRegistryText(keyPath, "\\ResponseLog", responseLog_, value)) return false;
    if (!value.empty()) setResponseLog(value);
    if (!readRegistryText(keyPath, "\\Script", "", value)) return false;
    if (!value.empty()) setScript(server + value);
    if (!readRegistryText(keyPath, "\\URN", urn_, value)) return false;
    if (!value.empty()) setURN(value);

    return utility.DeleteFile(requestLog_, true) && utility.DeleteFile(responseLog_, true);
  });
}

}  // namespace dks
