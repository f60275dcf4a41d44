// clsInclude: one include folder, a mail store folder that is kept reconciled with the document
// server, with the settings of its "list documents" exchange and the objects of its pass:
//
//   pblnReconcile()               the pass: open the Inbox, list, walk, classify, send, reset
//     pblnLoadXML / pblnSendXML   the "list documents" exchange, page by page, into MailItems
//     pblnTreeWalk                pairs the walked mail items with the listed documents
//     pblnIgnore                  whether a sub-folder is excluded from the walk
//   pblnReset()                   settings read again from the registry, workers emptied
//
// Settings come from the include list key (FirstMatch, MaximumCharacters, MaximumMatches,
// Sorted, shared by every include folder) and from the folder's own sub-key, its Key (Default,
// EntryID, Folder, StoreID, SubFolders). Setters hold the normalising rules.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "mailstore/FolderInterface.h"
#include "mailstore/clsFolder.h"
#include "mailstore/colItem.h"
#include "platform/Outlook.h"
#include "platform/Text.h"
#include "protocol/ActionInterface.h"
#include "protocol/DocketInterface.h"
#include "protocol/clsAction.h"
#include "protocol/clsDelete.h"
#include "protocol/clsDocket.h"
#include "protocol/clsMove.h"
#include "protocol/clsSave.h"
#include "protocol/clsUpdate.h"
#include "reconcile/RunMonitor.h"
#include "reconcile/colExclude.h"

namespace dks {

class clsInclude {
 public:
  /// Writes "" to Key, which runs pblnReset: defaults, the shared values, every owned object.
  clsInclude();
  /// Releases the owned objects in the reverse of their creation order.
  ~clsInclude();
  clsInclude(const clsInclude&) = delete;
  clsInclude& operator=(const clsInclude&) = delete;

  int32_t Default() const noexcept { return default_; }
  void setDefault(int32_t value) noexcept;  // below 0: 0
  const std::string& EntryID() const noexcept { return entryID_; }
  void setEntryID(std::string_view value);  // trimmed
  int32_t FirstMatch() const noexcept { return firstMatch_; }
  void setFirstMatch(int32_t value) noexcept;  // below 1: 1
  const std::string& Folder() const noexcept { return folder_; }
  /// Trimmed; then the exclusion set, when it exists, is reloaded for the new folder text.
  void setFolder(std::string_view value);
  const std::string& Key() const noexcept { return key_; }
  /// Trimmed; then pblnReset runs (its result is not passed on).
  void setKey(std::string_view value);
  int32_t MaxCharacters() const noexcept { return maxCharacters_; }
  void setMaxCharacters(int32_t value) noexcept;  // below 1: -1, no limit
  int32_t MaxMatches() const noexcept { return maxMatches_; }
  void setMaxMatches(int32_t value) noexcept;  // below 1: -1, no limit
  bool Sorted() const noexcept { return sorted_; }
  void setSorted(bool value) noexcept { sorted_ = value; }
  const std::string& StoreID() const noexcept { return storeID_; }
  void setStoreID(std::string_view value);  // trimmed
  bool SubFolders() const noexcept { return subFolders_; }
  void setSubFolders(bool value) noexcept { subFolders_ = value; }

  // The owned objects.
  std::shared_ptr<clsDelete> Delete() const noexcept { return delete_; }
  std::shared_ptr<colExclude> Exclude() const noexcept { return exclude_; }
  std::shared_ptr<colItem> MailItems() const noexcept { return mailItems_; }
  std::shared_ptr<clsMove> Move() const noexcept { return move_; }
  std::shared_ptr<clsDocket> Request() const noexcept { return request_; }
  std::shared_ptr<clsDocket> Response() const noexcept { return response_; }
  std::shared_ptr<clsSave> Save() const noexcept { return save_; }
  std::shared_ptr<clsUpdate> Update() const noexcept { return update_; }

  // The facts of the folder last opened by the pass ("" until then and after every reset).
  std::string FolderPath() const;
  std::string Name() const;
  std::string Parent() const;
  std::string ParentEntryID() const;
  std::string ParentStoreID() const;

  // The settings of the "list documents" exchange; a Script write also reaches the request.
  std::string RequestLog() const;
  void setRequestLog(std::string_view value);
  std::string ResponseLog() const;
  void setResponseLog(std::string_view value);
  std::string Script() const;
  void setScript(std::string_view value);
  std::string URN() const;
  void setURN(std::string_view value);

  /// Whether the folder path text `strPath` is excluded from the walk (Exclude().Excludes).
  /// False after recording -99987 "Parameter missing" for a blank path; `blnIgnore` is False
  /// then.
  bool pblnIgnore(std::string_view strPath, bool& blnIgnore);

  /// Builds the "list documents" request for the folder text `strFolder` with this folder's
  /// selection (FirstMatch, MaxMatches, MaxCharacters, Sorted, URN, the user) into the request
  /// transport, after resetting both transports; `strXML` receives the text. False after
  /// recording -99987 for a blank folder text, or when a text preparation or a transport call
  /// fails.
  bool pblnLoadXML(std::string_view strFolder, bool blnSubFolders, std::string& strXML);

  /// The "list documents" exchange: empties MailItems, sends the request (rebuilt for every
  /// further page), and turns every listed document with a "saved_location" into an item
  /// record keyed by its id, while the server answers "more_results" "TRUE" and the page held a
  /// document. FirstMatch is the same afterwards, also after a failure. True when the last page
  /// was parsed.
  bool pblnSendXML(std::string_view strFolder, bool blnSubFolders, int32_t lngFile);

  /// One pass of this include folder: opens the Inbox, lists the server's documents, walks the
  /// Inbox and (unless Flags is 999) the Sent Items, queues new or changed mail on Save and
  /// unmatched listed documents on Delete (as the Action setting allows), sends every action's
  /// queue in batches of MaxMatches and resets the folder. True when it ran to its end. A pass
  /// that cannot open a folder, list the documents or copy a record ends at once with False and
  /// without the reset. A walk that did not reach everything leaves out the deletes and makes
  /// the result False after the reset. An action whose batch cannot be sent or taken in stops
  /// for this pass with one error record; the pass goes on. With a monitor, the pass reports
  /// its progress and, at its end (also an early one), its tally; in a dry run it writes
  /// nothing to the settings and shows the queued records instead of sending them.
  bool pblnReconcile();

  /// Defaults, then the shared values of the include list key and, when Key names an existing
  /// key, the folder's own values; then each owned object is created or reset. False at the
  /// first step that fails, with the steps before it done.
  bool pblnReset();

  /// Walks `objRoot` (and, with SubFolders, every sub-folder that is not excluded): completes
  /// the listed record whose location is a walked item's entry id, marking it for resave when
  /// the mail store changed it in a later minute than the server's date, and adds a record for
  /// every item the server did not list. A failure (an unreadable item or date, -99987 for a
  /// missing root) is recorded under ("clsInclude", "pblnTreeWalk") and ends the walk of the
  /// folder where it happened; a sub-folder whose walk fails does not stop its siblings. The
  /// result is then False.
  bool pblnTreeWalk(const std::shared_ptr<OutlookFolder>& objRoot);

  /// The monitor of the passes to come: it sees their progress and counts and, when it asks
  /// for a dry run, what they would send. Empty: the passes send and report nothing.
  void setMonitor(std::shared_ptr<RunMonitor> monitor) noexcept { monitor_ = std::move(monitor); }
  /// The counts of the last pass, also of one that ended early.
  const PassTally& Tally() const noexcept { return tally_; }

  /// The settings, folder and transport interfaces the class presents too, without effect.
  ActionInterface& AsAction() const noexcept { return InertAction::instance(); }
  FolderInterface& AsFolder() const noexcept { return InertFolder::instance(); }
  DocketInterface& AsDocket() const noexcept { return InertDocket::instance(); }

 private:
  // The folder's own values under Key, when that key exists. False when a utility call fails.
  bool loadFolderValues();
  // Creates each owned object in order, or resets it. False at the first reset that fails.
  bool resetOwnedObjects();
  // The pass between opening the Inbox and the reset: list, walk, classify, send.
  bool listWalkAndSend(std::shared_ptr<OutlookFolder>& folder);
  // Queues every item record on the action its class names: new or changed mail on Save, listed
  // documents without mail on Delete (only when `mayDelete`), and counts them in the tally.
  // False when a copy fails.
  bool classifyRecords(bool mayDelete);
  // Empties every action's queue: sent in batches of MaxMatches, or in a dry run shown to the
  // monitor.
  void sendQueues();
  bool dryRun() const { return monitor_ && monitor_->dryRun(); }
  // The walk of one folder and, through itself, of its sub-folders; pblnTreeWalk around it
  // holds the index of the records by location.
  bool walkFolder(const std::shared_ptr<OutlookFolder>& folder);
  // Completes the listed record of the mail item `item`, or adds a record for it. False when
  // the record cannot load the item; throws Failure when the item or a date cannot be read.
  bool pairItem(const OutlookRef& item);

  int32_t default_ = 0;
  std::string entryID_;
  int32_t firstMatch_ = 1;
  std::string folder_;
  std::string key_;
  int32_t maxCharacters_ = -1;
  int32_t maxMatches_ = -1;
  bool sorted_ = false;
  std::string storeID_;
  bool subFolders_ = false;

  // Owned, in creation order.
  std::shared_ptr<clsAction> action_;
  std::shared_ptr<clsFolder> folderFacts_;
  std::shared_ptr<colExclude> exclude_;
  std::shared_ptr<clsDelete> delete_;
  std::shared_ptr<clsSave> save_;
  std::shared_ptr<clsMove> move_;
  std::shared_ptr<clsUpdate> update_;
  std::shared_ptr<clsDocket> request_;
  std::shared_ptr<clsDocket> response_;
  std::shared_ptr<colItem> mailItems_;

  // During a walk: the records of MailItems by PreviousLocation ignoring case, the first record
  // of each location, so that the record an entry id finds is the one a scan from position 1
  // would find. The keys view the records' own texts, which a walk does not change (it loads
  // only the mail half). Made afresh when a walk starts (MailItems may have been emptied or
  // changed since), extended with every record the walk adds, emptied when it ends.
  std::unordered_map<std::string_view, std::shared_ptr<clsItem>, CaseBlindHash, CaseBlindEqual>
      walkIndex_;

  std::shared_ptr<RunMonitor> monitor_;
  PassTally tally_;
  // Mail items walked in the current pass, Inbox and Sent Items together.
  int32_t walkedItems_ = 0;
};

}  // namespace dks
