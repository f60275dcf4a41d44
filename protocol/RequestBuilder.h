// RequestBuilder: builds one request document of the document server, element by element, in
// the envelope that every request has:
//
//   <SOAP:Envelope xmlns:SOAP="URN"><SOAP:Body><request><type>WORD</type>...</request>
//   </SOAP:Body></SOAP:Envelope>
//
// and with the value conventions of every request:
// - text values are prepared by the utility's ReplaceText with empty find and replacement
//   texts, mode 5 (characters XML does not allow) and then mode 4 (bytes that are not UTF-8);
// - numeric ids are decimal, and the element stays empty for 0;
// - Booleans are the words True and False;
// - locations are "dkemail://" followed by the stored location, or empty for an empty one;
// - elements with an empty value are still written, as empty elements.
//
// A preparation that the utility reports as failed stops the build: ok() turns False and every
// later call adds nothing.
//
//   RequestBuilder builder(utility, urn, "delete");
//   builder.user(application.UserID());
//   XmlElement document = builder.document();
//   builder.number(document, "id", email.DocumentID());
//   builder.location(document, "current_location", email.CurrentLocation());
//   if (!builder.ok()) return false;
//   std::string text = builder.xml();
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemUtility.h"
#include "platform/XmlDocument.h"

namespace dks {

class RequestBuilder {
 public:
  /// A new document with the envelope for `urn` and "request" holding "type" with
  /// `actionWord` (prepared).
  RequestBuilder(SystemUtility& utility, std::string_view urn, std::string_view actionWord);

  /// False once a preparation failed.
  bool ok() const noexcept { return ok_; }

  /// The "request" element.
  XmlElement request() const noexcept { return request_; }

  /// Appends `name` to `parent` with `value` prepared.
  XmlElement text(XmlElement parent, std::string_view name, std::string_view value);
  /// Appends `name` to `parent` with `value` as it is (no preparation).
  XmlElement plain(XmlElement parent, std::string_view name, std::string_view value);
  /// Appends `name` to `parent` with `id` in decimal, empty for 0.
  XmlElement number(XmlElement parent, std::string_view name, int32_t id);
  /// Appends `name` to `parent` with True or False.
  XmlElement boolean(XmlElement parent, std::string_view name, bool value);
  /// Appends `name` to `parent` with kLocationScheme + `stored` prepared, or empty for "".
  XmlElement location(XmlElement parent, std::string_view name, std::string_view stored);
  /// Appends the empty element `name` to `parent`, for elements that hold other elements.
  XmlElement group(XmlElement parent, std::string_view name);

  /// Appends the user block: "user" holding "id" with `userID` (empty for 0).
  void user(int32_t userID);
  /// Appends one empty "document" to "request" and returns it.
  XmlElement document();

  /// The serialisation of the document built so far.
  std::string xml() const { return document_->xml(); }

 private:
  /// `value` prepared by the utility; nullopt (and ok() False) when a call reports failure.
  std::optional<std::string> prepare(std::string_view value);
  XmlElement append(XmlElement parent, std::string_view name);

  SystemUtility& utility_;
  std::unique_ptr<XmlDocument> document_;
  XmlElement request_;
  bool ok_ = true;
};

}  // namespace dks
