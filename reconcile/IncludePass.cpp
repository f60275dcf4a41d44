// clsInclude's pass: open the Inbox, ask the server for its list, walk the Inbox and the Sent
// Items, classify every item record, send the actions' requests in batches, reset.
#include <string>

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Failure.h"
#include "reconcile/clsInclude.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsInclude";
constexpr int32_t kInboxFolder = 6;
constexpr int32_t kSentItemsFolder = 5;

// Queues a copy of `record` on `action` with `location` as its current location. False when
// the copy fails (recorded by the queue).
bool queueRecord(QueuedAction& action, const std::shared_ptr<clsItem>& record,
                 const std::string& location) {
  action.Emails()->Add(location, "");
  return action.Emails()->pblnLoad(record, action.Emails()->Count());
}

// Sends the queue of `action` in batches of `batch` e-mails, then resets the action. A batch
// that cannot be built, or whose answer cannot be taken in, stays in the queue and ends the
// draining for this pass, with one error record naming the action.
void drain(QueuedAction& action, const char* word, int32_t batch) {
  while (action.Emails()->Count() > 0) {
    const int32_t queued = action.Emails()->Count();
    std::string xml;
    if (action.pblnLoadXML(batch, xml)) action.pblnSendXML(batch, cfIgnore + cfAll);
    if (action.Emails()->Count() < queued) continue;
    recordFailure(kClass, "pblnReconcile", kUnknownErrorNumber,
                  std::string("The ") + word + " request could not be sent; " +
                      std::to_string(queued) + " e-mails were left for the next pass");
    break;
  }
  action.pblnReset();
}

}  // namespace

bool clsInclude::pblnReconcile() {
  std::shared_ptr<OutlookFolder> folder;
  const bool passed = attempt(kClass, "pblnReconcile", [&] {
    if (!gobjOutlook) throw Failure::parameterMissing();
    if (!folderFacts_->pblnGetDefault(gobjOutlook, kInboxFolder, folder)) return false;
    const std::string inboxPath = folderFacts_->FolderPath();
    // The first pass tells a client which folder a keyed include folder stands for; the write's
    // result is not needed by the pass.
    if (Folder().empty() && !Key().empty())
      writeRegistryValue(Key(), "\\Folder", inboxPath, kValueText);

    // Without the server's list every walked item would be saved again: stop here.
    std::string xml;
    if (!pblnLoadXML(inboxPath, false, xml)) return false;
    if (!pblnSendXML(inboxPath, false, cfIgnore + cfInclude)) return false;

    bool walkedAll = pblnTreeWalk(folder);
    if (requireApplication().Flags() != rfInstallation) {
      if (!folderFacts_->pblnGetDefault(gobjOutlook, kSentItemsFolder, folder)) return false;
      walkedAll = pblnTreeWalk(folder) && walkedAll;
    }

    // After a walk that did not reach everything, an unmatched listed document may just not
    // have been visited: no deletes this pass.
    if (!classifyRecords(walkedAll)) return false;
    drain(*save_, "save", MaxMatches());
    drain(*move_, "move document", MaxMatches());
    drain(*update_, "update usage", MaxMatches());
    drain(*delete_, "delete", MaxMatches());
    pblnReset();
    return walkedAll;
  });
  folder.reset();
  return passed;
}

bool clsInclude::classifyRecords(bool mayDelete) {
  const int32_t action = requireApplication().Action();
  const int32_t count = mailItems_->Count();
  for (int32_t index = 1; index <= count; ++index) {
    std::shared_ptr<clsItem> record = mailItems_->Item(index);
    if (!record) return false;
    if (!record->EntryID().empty()) {
      const bool newOrChanged = record->PreviousLocation().empty() || record->Resave();
      if ((action & raSave) && newOrChanged && !queueRecord(*save_, record, record->EntryID()))
        return false;
    } else if ((action & raDelete) && mayDelete &&
               !queueRecord(*delete_, record, record->PreviousLocation())) {
      return false;
    }
  }
  return true;
}

}  // namespace dks
