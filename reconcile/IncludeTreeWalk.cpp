// clsInclude: the tree walk. Every mail item of the walked folders either completes the record
// that the listing made for its entry id or becomes a new record at the end of MailItems.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/LogHeader.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "mailstore/PathText.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/TimeText.h"
#include "reconcile/clsInclude.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsInclude";

// The calendar minute boundaries crossed from `from` to `to`, negative when `to` is earlier.
// Throws Failure 13 when either text cannot be read as a date.
int64_t minutesBetween(std::string_view from, std::string_view to) {
  const auto start = readTimeText(from);
  const auto end = readTimeText(to);
  if (!start || !end) throw Failure::typeMismatch();
  return minuteNumber(*end) - minuteNumber(*start);
}

}  // namespace

bool clsInclude::pblnTreeWalk(const std::shared_ptr<OutlookFolder>& objRoot) {
  const bool indexed = attempt(kClass, "pblnTreeWalk", [&] {
    if (!mailItems_) throw Failure::objectNotSet();
    walkIndex_.clear();
    walkIndex_.reserve(static_cast<size_t>(mailItems_->Count()));
    for (const auto& record : mailItems_->NewEnum())
      walkIndex_.emplace(record->PreviousLocation(), record);
  });
  const bool walked = indexed && walkFolder(objRoot);
  walkIndex_ = {};
  return walked;
}

bool clsInclude::walkFolder(const std::shared_ptr<OutlookFolder>& folder) {
  bool subFoldersWalked = true;
  const bool walked = attempt(kClass, "pblnTreeWalk", [&] {
    if (!folder) throw Failure::parameterMissing();
    if (requireApplication().DebugLevel() >= dlOne)
      logStepBlock("list documents, TreeWalk, Root=" + pathText(*folder));

    const auto items = folder->Items();
    if (!items) throw Failure::objectNotSet();
    const int32_t itemCount = items->Count();
    for (int32_t i = 1; i <= itemCount; ++i)
      if (!pairItem(items->Item(i))) return false;

    if (!SubFolders()) return true;
    const auto folders = folder->Folders();
    if (!folders) throw Failure::objectNotSet();
    const int32_t folderCount = folders->Count();
    for (int32_t i = 1; i <= folderCount; ++i) {
      const auto subFolder = folders->Item(i);
      if (!subFolder) throw Failure::objectNotSet();
      bool ignore = false;
      if (!pblnIgnore(pathText(*subFolder), ignore)) return false;
      // A sub-tree that fails does not keep its siblings from being walked.
      if (!ignore && !walkFolder(subFolder)) subFoldersWalked = false;
    }
    return true;
  });
  return walked && subFoldersWalked;
}

bool clsInclude::pairItem(const OutlookRef& item) {
  if (!item) throw Failure::objectNotSet();
  ++walkedItems_;
  if (monitor_) monitor_->walking(walkedItems_);
  const std::string entryID = textOf(item->Get("EntryID"));
  const auto listed = walkIndex_.find(entryID);
  if (listed != walkIndex_.end()) {
    clsItem& record = *listed->second;
    if (!record.pblnLoad(item)) return false;
    if (!record.PreviousDate().empty() &&
        minutesBetween(record.PreviousDate(), record.ModificationTime()) > 0)
      record.setResave(true);
    return true;
  }
  mailItems_->Add(entryID, "");
  const auto record = mailItems_->Item(mailItems_->Count());
  if (!record) throw Failure::objectNotSet();
  walkIndex_.emplace(record->PreviousLocation(), record);
  if (!record->pblnLoad(item)) return false;
  record->setResave(false);
  return true;
}

}  // namespace dks
