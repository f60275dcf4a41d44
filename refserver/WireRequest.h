// WireRequest: one request to the document server as read from the body of an HTTP request.
//
// The reconciler sends its request document with the value of "xmlns:SOAP" in tripled quotes:
// on the serialised text it replaces every `SOAP="` by `SOAP="""` and then every `"><SOAP` by
// `"""><SOAP`, so the text on the wire is not well-formed XML. readWireRequest undoes exactly
// those two replacements, in the reverse order, and parses what is left; a well-formed request
// without tripled quotes reads the same way.
//
//   <SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body><request><type>delete</type>
//   <user><id>7</id></user><document><id>12</id><current_location>dkemail://AB12
//   </current_location></document></request></SOAP:Body></SOAP:Envelope>
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dks {

enum class RequestKind { listDocuments, save, updateUsage, moveDocument, deleteDocuments };

/// The action word of `kind` as it appears in "type": "list documents", "save", ...
const char* requestTypeWord(RequestKind kind);

/// One "document" of an action request; texts are trimmed of spaces, missing elements read as
/// empty.
struct WireDocument {
  int32_t id = 0;  ///< "id"; 0 when empty
  /// "title" of a save.
  std::string title;
  /// Where the document is: "current_version"/"location" of a save, "current_location" of the
  /// others (for a move, where the document is now).
  std::string location;
  /// "previous_location"/"path" of a move: where the server had the document.
  std::string previousLocation;
};

/// The selection of a "list documents" request, normalised: `firstMatch` at least 1, and -1
/// for no limit in the other two.
struct ListSelection {
  int32_t firstMatch = 1;          ///< "first_match", 1-based
  int32_t maximumMatches = -1;     ///< "maximum_matches"
  int32_t maximumCharacters = -1;  ///< "maximum_characters": titles are cut to this length
};

struct WireRequest {
  std::string urn;  ///< the value of "xmlns:SOAP", without the tripled quotes
  RequestKind kind = RequestKind::listDocuments;
  int32_t user = 0;                     ///< "user"/"id"; 0 when empty or missing
  std::vector<WireDocument> documents;  ///< action requests only, in request order
  ListSelection selection;              ///< "list documents" only
};

/// `wire` with the tripled quotes of the reconciler's transport undone.
std::string undoTripledQuotes(std::string_view wire);

/// Reads the request in `body`. On success fills `*request` and returns true. On failure
/// returns false and sets `*error` to a sentence naming what is wrong; `*request` may then hold
/// part of the request. A request cannot be read when the text does not parse as XML, when it has
/// no "SOAP:Envelope"/"SOAP:Body"/"request", when "type" is missing or not one of the five action
/// words, or when a number ("id", "first_match", "maximum_matches", "maximum_characters") is
/// not a 32-bit decimal integer. An empty number is 0 for an id and the default for the
/// selection.
bool readWireRequest(std::string_view body, WireRequest* request, std::string* error);

}  // namespace dks
