#include "platform/maildir/MaildirFolder.h"

#include <vector>

#include "platform/Failure.h"
#include "platform/maildir/MaildirItem.h"
#include "platform/maildir/MaildirListing.h"
#include "platform/maildir/MaildirNames.h"
#include "platform/maildir/MaildirNamespace.h"

namespace dks {
namespace {

// Holds the listing only; each Item call makes a light item object over one of its names.
class ItemList : public OutlookCollection<OutlookObject> {
 public:
  ItemList(std::shared_ptr<MaildirFolder> folder, std::shared_ptr<MaildirListing> listing)
      : folder_(std::move(folder)), listing_(std::move(listing)) {}

  int32_t Count() override { return static_cast<int32_t>(listing_->size()); }

  std::shared_ptr<OutlookObject> Item(int32_t index) override {
    if (index < 1 || index > Count()) throw Failure::subscriptOutOfRange();
    return std::make_shared<MaildirItem>(folder_, listing_,
                                         listing_->file(static_cast<size_t>(index - 1)));
  }

 private:
  std::shared_ptr<MaildirFolder> folder_;
  std::shared_ptr<MaildirListing> listing_;
};

}  // namespace

MaildirFolder::MaildirFolder(std::shared_ptr<MaildirNamespace> space, FolderPlace place)
    : namespace_(std::move(space)), place_(std::move(place)) {}

std::string MaildirFolder::EntryID() {
  if (entryID_.empty()) entryID_ = hexOf(place_.path);
  return entryID_;
}

OutlookRef MaildirFolder::Parent() {
  if (!parent_) {
    std::optional<FolderPlace> parent = namespace_->store().parent(place_);
    parent_ =
        parent ? OutlookRef(namespace_->folderAt(std::move(*parent))) : OutlookRef(namespace_);
  }
  return parent_;
}

std::string MaildirFolder::StoreID() {
  return namespace_->storeID();
}

std::shared_ptr<OutlookCollection<OutlookObject>> MaildirFolder::Items() {
  return std::make_shared<ItemList>(shared_from_this(), MaildirListing::list(place_.directory));
}

std::shared_ptr<OutlookCollection<OutlookFolder>> MaildirFolder::Folders() {
  std::vector<std::shared_ptr<OutlookFolder>> folders;
  for (FolderPlace& child : namespace_->store().children(place_))
    folders.push_back(namespace_->folderAt(std::move(child)));
  return std::make_shared<OutlookList<OutlookFolder>>(std::move(folders));
}

}  // namespace dks
