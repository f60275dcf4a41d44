// MaildirFolder: one folder of the Maildir store, as the mail client's object model shows it.
#pragma once

#include <memory>

#include "platform/Outlook.h"
#include "platform/maildir/MaildirStore.h"

namespace dks {

class MaildirNamespace;

class MaildirFolder : public OutlookFolder, public std::enable_shared_from_this<MaildirFolder> {
 public:
  MaildirFolder(std::shared_ptr<MaildirNamespace> space, FolderPlace place);

  /// The folder's path in the store as upper-case hexadecimal.
  std::string EntryID() override;
  std::string Name() override { return place_.name; }
  /// The folder above; the name space for the store's top folder. Both follow from the
  /// folder's place alone, so each is made once and the same object is given every time.
  OutlookRef Parent() override;
  std::string StoreID() override;
  /// The messages as they are on disk now (a fresh listing on every call), ordered by their
  /// unique names. Throws Failure (Failure::fromErrno) when the folder cannot be read.
  std::shared_ptr<OutlookCollection<OutlookObject>> Items() override;
  /// The sub-folders as they are on disk now, ordered by name ignoring letter case. Throws
  /// Failure (Failure::fromErrno) when a directory cannot be read.
  std::shared_ptr<OutlookCollection<OutlookFolder>> Folders() override;

 private:
  std::shared_ptr<MaildirNamespace> namespace_;
  FolderPlace place_;
  // Asked for by every mail item the folder holds: made on first use.
  std::string entryID_;
  OutlookRef parent_;
};

}  // namespace dks
