#include "refserver/WireRequest.h"

#include <charconv>
#include <optional>

#include "platform/Text.h"
#include "platform/XmlDocument.h"

namespace dks {
namespace {

struct KindWord {
  RequestKind kind;
  const char* word;
};

constexpr KindWord kKindWords[] = {
    {RequestKind::listDocuments, "list documents"}, {RequestKind::save, "save"},
    {RequestKind::updateUsage, "update usage"},     {RequestKind::moveDocument, "move document"},
    {RequestKind::deleteDocuments, "delete"},
};

// Replaces every occurrence of `find` in `text` by `replacement`, scanning left to right.
std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string out;
  out.reserve(text.size());
  for (size_t start = 0;;) {
    size_t found = text.find(find, start);
    if (found == std::string_view::npos) {
      out.append(text.substr(start));
      return out;
    }
    out.append(text.substr(start, found - start)).append(replacement);
    start = found + find.size();
  }
}

// The first child element of `parent` named exactly `name`; an empty handle when none is.
XmlElement child(const XmlElement& parent, std::string_view name) {
  for (const XmlElement& element : parent.childElements())
    if (element.name() == name) return element;
  return {};
}

std::string childText(const XmlElement& parent, std::string_view name) {
  return trimSpaces(child(parent, name).text());
}

// Reads a decimal 32-bit integer, optionally signed, surrounding white space ignored; an empty
// text is `empty`. nullopt for anything else.
std::optional<int32_t> readNumber(std::string_view text, int32_t empty) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return empty;
  text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  }
  int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads the number in the text of `element` into `*value`; false with `*error` set when it is
// not one. `what` names the element in the message.
bool readNumberOf(const XmlElement& element, const std::string& what, int32_t empty, int32_t* value,
                  std::string* error) {
  const std::string text = element.text();
  std::optional<int32_t> number = readNumber(text, empty);
  if (!number) {
    *error = "The " + what + " \"" + text + "\" is not a 32-bit decimal integer.";
    return false;
  }
  *value = *number;
  return true;
}

bool readSelection(const XmlElement& request, ListSelection* selection, std::string* error) {
  if (!readNumberOf(child(request, "first_match"), "first_match", 1, &selection->firstMatch,
                    error) ||
      !readNumberOf(child(request, "maximum_matches"), "maximum_matches", -1,
                    &selection->maximumMatches, error) ||
      !readNumberOf(child(request, "maximum_characters"), "maximum_characters", -1,
                    &selection->maximumCharacters, error))
    return false;
  if (selection->firstMatch < 1) selection->firstMatch = 1;
  if (selection->maximumMatches < 1) selection->maximumMatches = -1;
  if (selection->maximumCharacters < 1) selection->maximumCharacters = -1;
  return true;
}

bool readDocument(const XmlElement& element, RequestKind kind, size_t position,
                  WireDocument* document, std::string* error) {
  if (!readNumberOf(child(element, "id"), "id of document " + std::to_string(position), 0,
                    &document->id, error))
    return false;
  switch (kind) {
    case RequestKind::save:
      document->title = childText(element, "title");
      document->location = childText(child(element, "current_version"), "location");
      break;
    case RequestKind::moveDocument:
      document->previousLocation = childText(child(element, "previous_location"), "path");
      document->location = childText(element, "current_location");
      break;
    case RequestKind::updateUsage:
    case RequestKind::deleteDocuments:
      document->location = childText(element, "current_location");
      break;
    case RequestKind::listDocuments:
      break;
  }
  return true;
}

}  // namespace

const char* requestTypeWord(RequestKind kind) {
  for (const KindWord& entry : kKindWords)
    if (entry.kind == kind) return entry.word;
  return "";
}

std::string undoTripledQuotes(std::string_view wire) {
  // Each replacement only put two more quotation marks beside one, and neither can make the
  // other's pattern where there was none; so taking them out again where the longer forms
  // stand gives back the reconciler's text exactly, also where element values hold them.
  return replaceAll(replaceAll(wire, "\"\"\"><SOAP", "\"><SOAP"), "SOAP=\"\"\"", "SOAP=\"");
}

bool readWireRequest(std::string_view body, WireRequest* request, std::string* error) {
  if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    *error = "The request is empty.";
    return false;
  }
  XmlDocument document;
  if (!document.loadXML(undoTripledQuotes(body))) {
    *error = "The request is not well-formed XML.";
    return false;
  }
  const XmlElement envelope = document.documentElement();
  if (envelope.name() != "SOAP:Envelope") {
    *error =
        "The request's document element is \"" + envelope.name() + "\", not \"SOAP:Envelope\".";
    return false;
  }
  const XmlElement requestElement = child(child(envelope, "SOAP:Body"), "request");
  if (!requestElement) {
    *error = "The request has no \"request\" element inside \"SOAP:Body\".";
    return false;
  }
  const XmlElement type = child(requestElement, "type");
  if (!type) {
    *error = "The request has no \"type\".";
    return false;
  }
  const std::string word = trimSpaces(type.text());
  const KindWord* known = nullptr;
  for (const KindWord& entry : kKindWords)
    if (equalsIgnoreCase(word, entry.word)) known = &entry;
  if (known == nullptr) {
    *error = "The request type \"" + word + "\" is not known.";
    return false;
  }

  *request = WireRequest{};
  request->urn = envelope.attribute("xmlns:SOAP");
  request->kind = known->kind;
  if (!readNumberOf(child(child(requestElement, "user"), "id"), "user id", 0, &request->user,
                    error))
    return false;
  if (request->kind == RequestKind::listDocuments)
    return readSelection(requestElement, &request->selection, error);
  for (const XmlElement& element : requestElement.childElements()) {
    if (element.name() != "document") continue;
    WireDocument& wireDocument = request->documents.emplace_back();
    if (!readDocument(element, request->kind, request->documents.size(), &wireDocument, error))
      return false;
  }
  return true;
}

}  // namespace dks
