// clsDocket: the one piece of the program that talks to the document server. It holds one XML
// document, a request being prepared and sent or a response that was received; it loads XML
// text into it, sends it to the server by HTTP and hands back the answer as text, and at
// DebugLevel 4 dumps it into a file. Every exchange uses two of them:
//
//   request.pblnReset(); request.pblnLoadXML(text); response.pblnReset();
//   std::string answer;
//   if (request.pblnSendXML(answer)) response.pblnLoadXML(answer);
//
// Failures are recorded under ("clsDocket", member name) and reported as False.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "protocol/DocketInterface.h"

namespace dks {

class clsDocket final : public DocketInterface {
 public:
  /// An empty document and an empty Script.
  clsDocket();

  /// The URL that pblnSendXML sends to.
  std::string Script() const override { return script_; }
  /// Stores `strNew` with its spaces trimmed.
  void setScript(std::string_view strNew) override;

  /// The current document (never empty as a pointer; it may hold no element).
  std::shared_ptr<XmlDocument> XMLDocument() const override { return document_; }

  /// The current document's serialisation; "" for an empty document.
  std::string XMLText() const override;

  /// Below DebugLevel 4: True, nothing written. Otherwise writes the serialisation with one
  /// Write (no line ending) to the 8-bit text file `strFile` (trimmed), replacing any file
  /// there; an empty document gives an empty file. False after recording -99987 "Parameter
  /// missing" for a blank name, or the file-system failure.
  bool pblnCreateFile(std::string_view strFile) override;

  /// Replaces the document by one parsed from `strXML` (trimmed). Text that does not parse
  /// leaves an empty document and still gives True. At DebugLevel 2 or more first writes an
  /// empty run-log line and "XMLRequest=" with the trimmed text. False after recording -99987
  /// "Parameter missing" for blank text.
  bool pblnLoadXML(std::string_view strXML) override;

  /// Replaces the document by an empty one. True.
  bool pblnReset() override;

  /// Sends the serialisation to Script with an HTTP "GET" request whose body is that text with
  /// the "xmlns:SOAP" value put in tripled quotes (the document itself stays as it is), and
  /// returns the answer's body, whatever its HTTP status, converted to UTF-8 in `strResponse`.
  /// At DebugLevel 2 or more writes an empty run-log line and "XMLResponse=" with the body as
  /// received. `strResponse` is "" first.
  /// - An empty document or Script: records -99987 "Parameter missing", sends nothing, False.
  /// - A text operation of the utility reports failure: False, nothing recorded.
  /// - The exchange fails (no connection, the stall guard): the failure is recorded, False.
  bool pblnSendXML(std::string& strResponse) override;

 private:
  std::shared_ptr<dks::XmlDocument> document_;
  std::string script_;
};

}  // namespace dks
