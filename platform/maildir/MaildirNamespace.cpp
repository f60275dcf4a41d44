#include "platform/maildir/MaildirNamespace.h"

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/maildir/MaildirFolder.h"
#include "platform/maildir/MaildirNames.h"

namespace dks {

MaildirNamespace::MaildirNamespace(std::shared_ptr<MaildirStore> store)
    : store_(std::move(store)), storeID_(hexOf(store_->root())) {}

OutlookValue MaildirNamespace::Get(std::string_view) {
  throw Failure::notSupported();
}

std::string MaildirNamespace::DefaultValue() {
  throw Failure::notSupported();
}

std::shared_ptr<OutlookFolder> MaildirNamespace::GetDefaultFolder(int32_t& folder) {
  std::optional<FolderPlace> place;
  if (folder == kDefaultFolderInbox) {
    place = store_->inbox();
  } else if (folder == kDefaultFolderSentItems) {
    place = store_->sentItems();
  } else {
    throw Failure::invalidParameter();
  }
  if (!place) throw Failure::objectNotFound();
  return folderAt(std::move(*place));
}

std::shared_ptr<OutlookFolder> MaildirNamespace::GetFolderFromID(const std::string& entryID,
                                                                 const std::string& storeID) {
  if (!equalsIgnoreCase(storeID, this->storeID())) throw Failure::objectNotFound();
  std::optional<std::string> path = bytesOfHex(entryID);
  std::optional<FolderPlace> place = path ? store_->find(*path) : std::nullopt;
  if (!place) throw Failure::objectNotFound();
  return folderAt(std::move(*place));
}

std::shared_ptr<MaildirFolder> MaildirNamespace::folderAt(FolderPlace place) {
  return std::make_shared<MaildirFolder>(shared_from_this(), std::move(place));
}

}  // namespace dks
