// clsInclude: the "list documents" exchange. One request per page; every listed document with a
// saved location becomes an item record keyed by its id, and the next page starts behind the
// documents of this one while the server says there are more.
#include <cstdint>
#include <limits>
#include <string>

#include "app/LogHeader.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/Variant.h"
#include "platform/XmlDocument.h"
#include "protocol/ListDocumentsRequest.h"
#include "reconcile/clsInclude.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsInclude";
constexpr const char* kListDocuments = "list documents";

// The children of one "document" element that make its record, trimmed; "" when absent.
struct ListedDocument {
  std::string id;
  std::string title;
  std::string location;
  std::string size;
  std::string date;
};

// Children are told apart by name ignoring case; of two with one name the later counts. Names
// are compared in place: a listing has five children for every document.
ListedDocument readDocument(const XmlElement& document) {
  ListedDocument listed;
  for (const XmlElement& child : document.childElements()) {
    const std::string name = child.name();
    std::string* field = equalsIgnoreCase(name, "id")               ? &listed.id
                         : equalsIgnoreCase(name, "title")          ? &listed.title
                         : equalsIgnoreCase(name, "saved_location") ? &listed.location
                         : equalsIgnoreCase(name, "size")           ? &listed.size
                         : equalsIgnoreCase(name, "last_modified")  ? &listed.date
                                                                    : nullptr;
    if (field) *field = trimSpaces(child.text());
  }
  return listed;
}

// Appends the record of `listed` to `records`. The numbers are read first, so a document with
// an id or size that is no 32-bit number adds nothing before its failure (13 or 6) ends the
// exchange. An id that is already a key adds nothing: colItem records that itself.
void addRecord(colItem& records, const ListedDocument& listed) {
  const int32_t id = listed.id.empty() ? 0 : toLong(listed.id);
  const int32_t size = listed.size.empty() ? 0 : toLong(listed.size);
  const int32_t before = records.Count();
  records.Add("", listed.id);
  if (records.Count() == before) return;
  clsItem& record = *records.Item(records.Count());
  record.setPreviousLocation(listed.location);
  if (!listed.id.empty()) record.setDocumentID(id);
  if (!listed.title.empty()) record.setTitle(listed.title);
  if (!listed.size.empty()) record.setPreviousSize(size);
  if (!listed.date.empty()) record.setPreviousDate(listed.date);
}

// What one response page said.
struct Page {
  bool more = false;      // exactly one "more_results", reading "TRUE" in any case
  int32_t documents = 0;  // every "document" element, those without a location too
};

// Reads one response page into `records`; the records made before a failure stay.
Page readPage(const XmlDocument& response, colItem& records) {
  Page page;
  const auto more = response.getElementsByTagName("more_results");
  page.more = more.size() == 1 && equalsIgnoreCase(trimSpaces(more.front().text()), "TRUE");
  const auto documents = response.getElementsByTagName("document");
  if (documents.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw Failure::overflow();
  page.documents = static_cast<int32_t>(documents.size());
  for (const XmlElement& document : documents) {
    const ListedDocument listed = readDocument(document);
    if (!listed.location.empty()) addRecord(records, listed);
  }
  return page;
}

// The dump of `docket` into `file` as the selector `lngFile` asks; False only when a dump that
// must succeed failed.
bool dumpListing(clsDocket& docket, const std::string& file, int32_t lngFile) {
  switch (dumpRequest(lngFile, cfInclude)) {
    case DumpRequest::required:
      return docket.pblnCreateFile(file);
    case DumpRequest::failuresIgnored:
      docket.pblnCreateFile(file);
      break;
    case DumpRequest::none:
      break;
  }
  return true;
}

// The selection part of the run-log lines of both steps.
std::string selectionText(const clsInclude& include) {
  return ", FirstMatch=" + std::to_string(include.FirstMatch()) +
         ", MaxMatches=" + std::to_string(include.MaxMatches()) +
         ", MaxCharacters=" + std::to_string(include.MaxCharacters());
}

}  // namespace

bool clsInclude::pblnLoadXML(std::string_view strFolder, bool blnSubFolders, std::string& strXML) {
  return attempt(kClass, "pblnLoadXML", [&] {
    strXML.clear();
    const std::string folder = trimSpaces(strFolder);
    if (folder.empty()) throw Failure::parameterMissing();
    if (!request_ || !response_) throw Failure::objectNotSet();
    const clsApplication& application = requireApplication();
    logStepBlock(std::string(kListDocuments) + ", LoadXML, Folder=" + folder +
                 ", SubFolders=" + booleanText(blnSubFolders) + selectionText(*this));

    ListDocumentsQuery query;
    query.urn = URN();
    query.folder = folder;
    query.subFolders = blnSubFolders;
    query.sorted = Sorted();
    query.maxMatches = MaxMatches();
    query.firstMatch = FirstMatch();
    query.maxCharacters = MaxCharacters();
    query.userID = application.UserID();
    std::string text;
    if (!buildListDocumentsRequest(requireUtility(), query, text)) return false;
    strXML = text;
    return request_->pblnReset() && request_->pblnLoadXML(strXML) && response_->pblnReset();
  });
}

bool clsInclude::pblnSendXML(std::string_view strFolder, bool blnSubFolders, int32_t lngFile) {
  const int32_t firstMatch = FirstMatch();
  const bool listed = attempt(kClass, "pblnSendXML", [&] {
    const std::string folder = trimSpaces(strFolder);
    if (folder.empty()) throw Failure::parameterMissing();
    if (!request_ || !response_ || !mailItems_) throw Failure::objectNotSet();
    if (!mailItems_->pblnReset()) return false;

    bool more = false;
    do {
      // The first page goes out as the caller built it; every further page is built anew.
      if (more || request_->XMLText().empty()) {
        std::string text;
        if (!pblnLoadXML(folder, false, text)) return false;
      }
      std::string answer;
      const bool sent = request_->pblnSendXML(answer);
      logStepBlock(std::string(kListDocuments) + ", SendXML=" + booleanText(sent) + ", Folder=" +
                   folder + ", SubFolders=" + booleanText(blnSubFolders) + selectionText(*this));
      if (!dumpListing(*request_, RequestLog(), lngFile) || !sent) return false;
      if (!response_->pblnLoadXML(answer)) return false;
      if (!dumpListing(*response_, ResponseLog(), lngFile)) return false;

      const Page page = readPage(*response_->XMLDocument(), *mailItems_);
      if (monitor_) monitor_->listing(mailItems_->Count());
      // A page without documents ends the listing even when it says there are more: asking
      // again from the same first match would bring the same page back.
      more = page.more && page.documents > 0;
      if (more) {
        if (FirstMatch() > std::numeric_limits<int32_t>::max() - page.documents)
          throw Failure::overflow();
        setFirstMatch(FirstMatch() + page.documents);
      }
    } while (more);
    return true;
  });
  setFirstMatch(firstMatch);
  return listed;
}

}  // namespace dks
