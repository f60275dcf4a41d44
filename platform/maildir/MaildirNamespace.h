// MaildirNamespace: the "MAPI" name space of the Maildir store, where its folders are found.
#pragma once

#include <memory>

#include "platform/Outlook.h"
#include "platform/maildir/MaildirStore.h"

namespace dks {

class MaildirFolder;

/// The default folder numbers the store has.
inline constexpr int32_t kDefaultFolderSentItems = 5;
inline constexpr int32_t kDefaultFolderInbox = 6;

class MaildirNamespace : public OutlookNamespace,
                         public std::enable_shared_from_this<MaildirNamespace> {
 public:
  explicit MaildirNamespace(std::shared_ptr<MaildirStore> store);

  /// The name space has no members to read by name and no default value: both throw Failure
  /// 438 "Object doesn't support this property or method".
  OutlookValue Get(std::string_view name) override;
  std::string DefaultValue() override;

  /// 6: the Inbox; 5: the Sent Items (MaildirStore::sentItems). Throws Failure objectNotFound
  /// when the store has no such folder, invalidParameter for any other number.
  std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t& folder) override;

  /// The folder whose EntryID is `entryID` in the store whose StoreID is `storeID` (both
  /// compared ignoring letter case). Throws Failure objectNotFound for another store, an id
  /// that is not hexadecimal, or a folder the store does not hold (now).
  std::shared_ptr<OutlookFolder> GetFolderFromID(const std::string& entryID,
                                                 const std::string& storeID) override;

  const MaildirStore& store() const { return *store_; }

  /// The StoreID of every folder: the store root's path as upper-case hexadecimal.
  const std::string& storeID() const { return storeID_; }

  /// The folder object at `place`.
  std::shared_ptr<MaildirFolder> folderAt(FolderPlace place);

 private:
  std::shared_ptr<MaildirStore> store_;
  std::string storeID_;
};

}  // namespace dks
