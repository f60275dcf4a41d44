// clsInclude's pass: open the Inbox, ask the server for its list, walk the Inbox and the Sent
// Items, classify every item record, send the actions' requests in batches, reset.
#include <string>

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/colError.h"
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
RequestCount drain(QueuedAction& action, const char* word, int32_t batch) {
  RequestCount requests;
  while (action.Emails()->Count() > 0) {
    const int32_t queued = action.Emails()->Count();
    std::string xml;
    const bool sent = action.pblnLoadXML(batch, xml) && action.pblnSendXML(batch, cfIgnore + cfAll);
    ++(sent ? requests.sent : requests.failed);
    if (action.Emails()->Count() < queued) continue;
    recordFailure(kClass, "pblnReconcile", kUnknownErrorNumber,
                  std::string("The ") + word + " request could not be sent; " +
                      std::to_string(queued) + " e-mails were left for the next pass");
    break;
  }
  action.pblnReset();
  return requests;
}

// Shows every queued record of `action` to the monitor instead of sending it, then resets the
// action.
void preview(QueuedAction& action, const char* word, RunMonitor& monitor) {
  for (const auto& email : action.Emails()->NewEnum())
    monitor.wouldSend(word, {email->DocumentID(), email->CurrentLocation(), email->Title()});
  action.pblnReset();
}

// The last name of a key path: "Inbox#1" of "Software\DKS\Reconciler\Include\Inbox#1".
std::string keyName(const std::string& keyPath) {
  const size_t slash = keyPath.find_last_of('\\');
  return slash == std::string::npos ? keyPath : keyPath.substr(slash + 1);
}

int32_t errorCount() {
  return gcolError ? gcolError->Count() : 0;
}

}  // namespace

bool clsInclude::pblnReconcile() {
  tally_ = PassTally{};
  tally_.key = keyName(Key());
  walkedItems_ = 0;
  const int32_t errorsBefore = errorCount();
  std::shared_ptr<OutlookFolder> folder;
  tally_.passed = attempt(kClass, "pblnReconcile", [&] {
    if (!gobjOutlook) throw Failure::parameterMissing();
    if (!folderFacts_->pblnGetDefault(gobjOutlook, kInboxFolder, folder)) return false;
    return listWalkAndSend(folder);
  });
  folder.reset();
  tally_.errorRecords = errorCount() - errorsBefore;
  if (monitor_) monitor_->passEnded(tally_);
  return tally_.passed;
}

bool clsInclude::listWalkAndSend(std::shared_ptr<OutlookFolder>& folder) {
  const std::string inboxPath = folderFacts_->FolderPath();
  tally_.folder = inboxPath;
  // The first pass tells a client which folder a keyed include folder stands for; the write's
  // result is not needed by the pass.
  if (Folder().empty() && !Key().empty() && !dryRun())
    writeRegistryValue(Key(), "\\Folder", inboxPath, kValueText);

  // Without the server's list every walked item would be saved again: stop here.
  std::string xml;
  if (!pblnLoadXML(inboxPath, false, xml)) return false;
  if (!pblnSendXML(inboxPath, false, cfIgnore + cfInclude)) return false;
  tally_.listed = mailItems_->Count();

  bool walkedAll = pblnTreeWalk(folder);
  tally_.walkedInbox = walkedItems_;
  if (requireApplication().Flags() != rfInstallation) {
    if (!folderFacts_->pblnGetDefault(gobjOutlook, kSentItemsFolder, folder)) return false;
    walkedAll = pblnTreeWalk(folder) && walkedAll;
    tally_.walkedSent = walkedItems_ - tally_.walkedInbox;
  }

  // After a walk that did not reach everything, an unmatched listed document may just not
  // have been visited: no deletes this pass.
  if (!classifyRecords(walkedAll)) return false;
  sendQueues();
  pblnReset();
  return walkedAll;
}

void clsInclude::sendQueues() {
  if (dryRun()) {
    preview(*save_, "save", *monitor_);
    preview(*move_, "move document", *monitor_);
    preview(*update_, "update usage", *monitor_);
    preview(*delete_, "delete", *monitor_);
    return;
  }
  tally_.save = drain(*save_, "save", MaxMatches());
  tally_.move = drain(*move_, "move document", MaxMatches());
  tally_.update = drain(*update_, "update usage", MaxMatches());
  tally_.remove = drain(*delete_, "delete", MaxMatches());
}

bool clsInclude::classifyRecords(bool mayDelete) {
  const int32_t action = requireApplication().Action();
  const int32_t count = mailItems_->Count();
  for (int32_t index = 1; index <= count; ++index) {
    std::shared_ptr<clsItem> record = mailItems_->Item(index);
    if (!record) return false;
    if (!record->EntryID().empty()) {
      const bool isNew = record->PreviousLocation().empty();
      if (!isNew && !record->Resave()) continue;
      ++(isNew ? tally_.newItems : tally_.resaves);
      if ((action & raSave) && !queueRecord(*save_, record, record->EntryID())) return false;
    } else if (mayDelete) {
      ++tally_.deletes;
      if (!(action & raDelete)) continue;
      // A document without mail has no title of its own to report: a dry run shows the one
      // the server listed.
      if (dryRun())
        monitor_->wouldSend("delete",
                            {record->DocumentID(), record->PreviousLocation(), record->Title()});
      else if (!queueRecord(*delete_, record, record->PreviousLocation()))
        return false;
    }
  }
  return true;
}

}  // namespace dks
