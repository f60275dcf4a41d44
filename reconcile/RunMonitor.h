// RunMonitor: what a reconciliation run tells the command that started it, and whether the run
// may change anything. A run without a monitor sends its requests, writes its progress marks
// and reports nothing beyond its run log and error log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dks {

/// The requests of one action in one pass: those whose exchange succeeded and those that failed
/// (the exchange failed, or the request could not be built or its answer not taken in).
struct RequestCount {
  int32_t sent = 0;
  int32_t failed = 0;
};

/// What one include folder's pass found and did. A pass that ended early holds the counts of
/// the steps it reached.
struct PassTally {
  std::string key;           ///< the include folder's sub-key name ("Inbox#1"), "" for none
  std::string folder;        ///< the path text of the Inbox it reconciled, "" until opened
  bool passed = false;       ///< the pass ran to its end and reached every folder
  int32_t listed = 0;        ///< documents the server listed with a saved location
  int32_t walkedInbox = 0;   ///< mail items walked in the Inbox and its sub-folders
  int32_t walkedSent = 0;    ///< mail items walked in the Sent Items and their sub-folders
  int32_t newItems = 0;      ///< walked items the server did not list
  int32_t resaves = 0;       ///< listed items the mail store changed since the server's date
  int32_t deletes = 0;       ///< listed documents without mail (0 after an incomplete walk)
  RequestCount save;         ///< "save" requests
  RequestCount move;         ///< "move document" requests
  RequestCount update;       ///< "update usage" requests
  RequestCount remove;       ///< "delete" requests
  int32_t errorRecords = 0;  ///< error records added during the pass
};

/// One document that a request would report: its id (0 for new mail), its location and the
/// title that tells the user which mail it is.
struct PendingDocument {
  int32_t documentID = 0;
  std::string location;
  std::string title;
};

class RunMonitor {
 public:
  virtual ~RunMonitor() = default;

  /// True for a dry run: the listing and the walks happen, every record that would be sent is
  /// shown through wouldSend instead, and nothing is written to the settings.
  virtual bool dryRun() const { return false; }

  /// Progress of an include folder's listing: `documents` records made so far.
  virtual void listing(int32_t /*documents*/) {}
  /// Progress of an include folder's walks: `items` mail items walked so far in this pass.
  virtual void walking(int32_t /*items*/) {}

  /// In a dry run, one document that `action` ("save", "delete", ...) would have reported.
  virtual void wouldSend(std::string_view /*action*/, const PendingDocument& /*document*/) {}

  /// One include folder's pass ended, successfully or not.
  virtual void passEnded(const PassTally& /*tally*/) {}
  /// The run ended; `errorRecords` error records were added during it.
  virtual void runEnded(bool /*succeeded*/, int32_t /*errorRecords*/) {}
};

}  // namespace dks
