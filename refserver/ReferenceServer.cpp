#include "refserver/ReferenceServer.h"

#include <vector>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "refserver/WireRequest.h"

namespace dks {
namespace {

// What the server did with one document of an action request.
struct Outcome {
  const char* result;        // "created", "resaved", "deleted", "moved", "updated", ...
  std::vector<int64_t> ids;  // the catalogue documents it changed
};

// The answer document under construction: the envelope, "response" and its "type".
class AnswerBuilder {
 public:
  explicit AnswerBuilder(const WireRequest& request) {
    XmlElement envelope = document_.appendElement("SOAP:Envelope");
    envelope.setAttribute("xmlns:SOAP", request.urn);
    response_ = envelope.appendElement("SOAP:Body").appendElement("response");
    add(response_, "type", requestTypeWord(request.kind));
  }

  XmlElement response() const { return response_; }

  static XmlElement add(XmlElement parent, std::string_view name, std::string_view text) {
    XmlElement element = parent.appendElement(name);
    element.setText(text);
    return element;
  }

  HttpAnswer answer() const { return {200, "text/xml; charset=utf-8", document_.xml()}; }

 private:
  XmlDocument document_;
  XmlElement response_;
};

// The documents an action names: the document `id` when it is one of the user's, else every
// document of the user at `location` (none for an empty location).
std::vector<int64_t> namedDocuments(Catalogue& catalogue, int32_t user, int32_t id,
                                    const std::string& location) {
  if (id != 0 && catalogue.find(user, id)) return {id};
  if (location.empty()) return {};
  return catalogue.idsAt(user, location);
}

Outcome applyDocument(Catalogue& catalogue, RequestKind kind, int32_t user,
                      const WireDocument& document) {
  switch (kind) {
    case RequestKind::save: {
      // A document without a location could never be paired with an e-mail again.
      if (document.location.empty()) return {"no location", {}};
      if (document.id != 0 && catalogue.find(user, document.id)) {
        catalogue.resave(document.id, document.title, document.location);
        return {"resaved", {document.id}};
      }
      return {"created", {catalogue.create(user, document.title, document.location)}};
    }
    case RequestKind::deleteDocuments: {
      std::vector<int64_t> ids = namedDocuments(catalogue, user, document.id, document.location);
      for (int64_t id : ids) catalogue.remove(id);
      return {ids.empty() ? "not found" : "deleted", ids};
    }
    case RequestKind::moveDocument: {
      if (document.location.empty()) return {"no location", {}};
      std::vector<int64_t> ids =
          namedDocuments(catalogue, user, document.id, document.previousLocation);
      for (int64_t id : ids) catalogue.move(id, document.location);
      return {ids.empty() ? "not found" : "moved", ids};
    }
    case RequestKind::updateUsage: {
      std::vector<int64_t> ids = namedDocuments(catalogue, user, document.id, document.location);
      for (int64_t id : ids) catalogue.raiseUsage(id);
      return {ids.empty() ? "not found" : "updated", ids};
    }
    case RequestKind::listDocuments:
      break;
  }
  return {"not found", {}};
}

void applyAction(Catalogue& catalogue, const WireRequest& request, AnswerBuilder& answer) {
  std::vector<Outcome> outcomes;
  size_t changed = 0;
  for (const WireDocument& document : request.documents) {
    outcomes.push_back(applyDocument(catalogue, request.kind, request.user, document));
    changed += outcomes.back().ids.size();
  }
  AnswerBuilder::add(answer.response(), "count", std::to_string(changed));
  for (const Outcome& outcome : outcomes) {
    XmlElement element = answer.response().appendElement("document");
    AnswerBuilder::add(element, "result", outcome.result);
    for (int64_t id : outcome.ids) AnswerBuilder::add(element, "id", std::to_string(id));
  }
}

void listDocuments(Catalogue& catalogue, const WireRequest& request, AnswerBuilder& answer) {
  const ListSelection& selection = request.selection;
  const int64_t limit = selection.maximumMatches;
  // One document more than the page holds tells whether a further page exists.
  std::vector<CatalogueDocument> page = catalogue.documents(
      request.user, int64_t{selection.firstMatch} - 1, limit < 0 ? -1 : limit + 1);
  const bool more = limit >= 0 && static_cast<int64_t>(page.size()) > limit;
  if (more) page.pop_back();

  AnswerBuilder::add(answer.response(), "more_results", more ? "TRUE" : "FALSE");
  for (const CatalogueDocument& document : page) {
    XmlElement element = answer.response().appendElement("document");
    AnswerBuilder::add(element, "id", std::to_string(document.id));
    AnswerBuilder::add(element, "title",
                       selection.maximumCharacters < 0
                           ? document.title
                           : firstCharacters(document.title, selection.maximumCharacters));
    AnswerBuilder::add(element, "saved_location", document.location);
    AnswerBuilder::add(element, "size", std::to_string(document.size));
    AnswerBuilder::add(element, "last_modified", document.lastModified);
  }
}

}  // namespace

std::string firstCharacters(const std::string& text, int32_t count) {
  size_t end = 0;
  for (int32_t taken = 0; taken < count && end < text.size(); ++taken) {
    char32_t codePoint;
    size_t length = decodeUtf8At(text, end, codePoint);
    end += length == 0 ? 1 : length;
  }
  return text.substr(0, end);
}

HttpAnswer ReferenceServer::answer(const HttpMessage& message) {
  WireRequest request;
  std::string error;
  if (!readWireRequest(message.body, &request, &error)) return htmlErrorAnswer(400, error);
  try {
    AnswerBuilder answer(request);
    catalogue_.transaction([&] {
      if (request.kind == RequestKind::listDocuments)
        listDocuments(catalogue_, request, answer);
      else
        applyAction(catalogue_, request, answer);
    });
    return answer.answer();
  } catch (const Failure& failure) {
    return htmlErrorAnswer(500, "The catalogue failed: " + failure.description());
  }
}

}  // namespace dks
