#include "protocol/RequestBuilder.h"

#include "mailstore/WriteRules.h"
#include "platform/Text.h"

namespace dks {

RequestBuilder::RequestBuilder(SystemUtility& utility, std::string_view urn,
                               std::string_view actionWord)
    : utility_(utility), document_(std::make_unique<XmlDocument>()) {
  XmlElement envelope = document_->appendElement("SOAP:Envelope");
  envelope.setAttribute("xmlns:SOAP", urn);
  request_ = envelope.appendElement("SOAP:Body").appendElement("request");
  text(request_, "type", actionWord);
}

XmlElement RequestBuilder::text(XmlElement parent, std::string_view name, std::string_view value) {
  std::optional<std::string> prepared = prepare(value);
  if (!prepared) return {};
  return plain(parent, name, *prepared);
}

XmlElement RequestBuilder::plain(XmlElement parent, std::string_view name, std::string_view value) {
  XmlElement element = append(parent, name);
  element.setText(value);
  return element;
}

XmlElement RequestBuilder::number(XmlElement parent, std::string_view name, int32_t id) {
  return plain(parent, name, id == 0 ? std::string() : std::to_string(id));
}

XmlElement RequestBuilder::boolean(XmlElement parent, std::string_view name, bool value) {
  return plain(parent, name, booleanText(value));
}

XmlElement RequestBuilder::location(XmlElement parent, std::string_view name,
                                    std::string_view stored) {
  if (stored.empty()) return text(parent, name, "");
  return text(parent, name, std::string(kLocationScheme) + std::string(stored));
}

XmlElement RequestBuilder::group(XmlElement parent, std::string_view name) {
  return append(parent, name);
}

void RequestBuilder::user(int32_t userID) {
  number(group(request_, "user"), "id", userID);
}

XmlElement RequestBuilder::document() {
  return group(request_, "document");
}

std::optional<std::string> RequestBuilder::prepare(std::string_view value) {
  if (!ok_) return std::nullopt;
  std::string text(value);
  ok_ = utility_.ReplaceText(text, "", "", 5) && utility_.ReplaceText(text, "", "", 4);
  if (!ok_) return std::nullopt;
  return text;
}

XmlElement RequestBuilder::append(XmlElement parent, std::string_view name) {
  if (!ok_) return {};
  return parent.appendElement(name);
}

}  // namespace dks
