#include "app/ScanCommand.h"

#include <string>
#include <string_view>

#include "app/colError.h"
#include "app/modApplication.h"
#include "mailstore/PathText.h"
#include "mailstore/clsFolder.h"
#include "mailstore/clsItem.h"
#include "platform/Failure.h"
#include "platform/Outlook.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kColumns =
    "Folder\tEntryID\tSubject\tCreationTime\tModificationTime\tReceivedTime\tSentOn\tSize\tUnRead\t"
    "Sent\tSensitivity\tConversationTopic\tConversationIndex\tParent\tParentEntryID\tParentStoreID";

// A value as one table cell: tabs and line breaks would break the table's shape.
std::string cell(std::string_view value) {
  std::string text(value);
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

class Scan {
 public:
  Scan(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void printFacts(int32_t number, const clsFolder& folder) {
    out_ << "# Folder " << number << "\tEntryID=" << cell(folder.EntryID())
         << "\tFolderPath=" << cell(folder.FolderPath()) << "\tName=" << cell(folder.Name())
         << "\tParent=" << cell(folder.Parent())
         << "\tParentEntryID=" << cell(folder.ParentEntryID())
         << "\tParentStoreID=" << cell(folder.ParentStoreID()) << "\n";
  }

  /// The folder's items, then, with `subFolders`, its sub-folders depth first.
  void walk(OutlookFolder& folder, bool subFolders) {
    std::string path = "(unnamed)";
    try {
      path = pathText(folder);
      ++folders_;
      auto items = folder.Items();
      for (int32_t i = 1, count = items->Count(); i <= count; ++i) printItem(path, items->Item(i));
      if (!subFolders) return;
      auto children = folder.Folders();
      for (int32_t i = 1, count = children->Count(); i <= count; ++i)
        walk(*children->Item(i), subFolders);
    } catch (const Failure& failure) {
      err_ << "dks-reconciler: cannot read the folder " << path << ": " << failure.description()
           << "\n";
      failed_ = true;
    }
  }

  void printTotals() { out_ << "# " << folders_ << " folders, " << items_ << " items\n"; }
  bool failed() const { return failed_; }

 private:
  void printItem(const std::string& path, const OutlookRef& item) {
    record_.pblnReset();
    record_.pblnLoad(item);
    ++items_;
    const clsItem& r = record_;
    out_ << cell(path) << '\t' << cell(r.EntryID()) << '\t' << cell(r.Subject()) << '\t'
         << r.CreationTime() << '\t' << r.ModificationTime() << '\t' << r.ReceivedTime() << '\t'
         << r.SentOn() << '\t' << r.Size() << '\t' << booleanText(r.UnRead()) << '\t'
         << booleanText(r.Sent()) << '\t' << r.Sensitivity() << '\t' << cell(r.ConversationTopic())
         << '\t' << cell(r.ConversationIndex()) << '\t' << cell(r.Parent()) << '\t'
         << cell(r.ParentEntryID()) << '\t' << cell(r.ParentStoreID()) << '\n';
  }

  std::ostream& out_;
  std::ostream& err_;
  clsItem record_;
  int folders_ = 0;
  int items_ = 0;
  bool failed_ = false;
};

}  // namespace

int printScan(const std::shared_ptr<AutomationObject>& objApp, bool subFolders, std::ostream& out,
              std::ostream& err) {
  const int32_t recordsBefore = gcolError->Count();
  Scan scan(out, err);
  std::shared_ptr<OutlookFolder> opened[2];
  const int32_t numbers[2] = {6, 5};
  for (int i = 0; i < 2; ++i) {
    clsFolder folder;
    if (folder.pblnGetDefault(objApp, numbers[i], opened[i])) scan.printFacts(numbers[i], folder);
  }
  out << kColumns << "\n";
  for (const auto& folder : opened)
    if (folder) scan.walk(*folder, subFolders);
  scan.printTotals();
  return scan.failed() || gcolError->Count() > recordsBefore ? 1 : 0;
}

}  // namespace dks
