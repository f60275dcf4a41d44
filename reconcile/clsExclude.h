// clsExclude: one exclusion, a sub-folder that an include folder's tree walk does not enter,
// loaded from its sub-key under the exclusion list key (values "Folder", "SubFolders",
// "EntryID", "StoreID"). Every text field is stored trimmed.
#pragma once

#include <string>
#include <string_view>

namespace dks {

class clsExclude {
 public:
  /// Every field "" or False (creation writes "" to Key).
  clsExclude();

  const std::string& EntryID() const noexcept { return entryID_; }
  void setEntryID(std::string_view value);
  /// The excluded folder's path text (parent text, "\", name).
  const std::string& Folder() const noexcept { return folder_; }
  void setFolder(std::string_view value);
  /// The full key path of the exclusion's sub-key. Every write runs pblnReset.
  const std::string& Key() const noexcept { return key_; }
  void setKey(std::string_view value);
  const std::string& StoreID() const noexcept { return storeID_; }
  void setStoreID(std::string_view value);
  /// True: the exclusion also covers every path that holds Folder.
  bool SubFolders() const noexcept { return subFolders_; }
  void setSubFolders(bool value) noexcept { subFolders_ = value; }

  /// Clears every field but Key, then loads "EntryID", "Folder", "StoreID" (texts, kept when not
  /// blank) and "SubFolders" (any number but 0 is True) from the sub-key Key when it exists.
  /// False when a utility call reports failure, with the values read before it kept; a
  /// run-time failure is recorded under ("clsExclude", "pblnReset").
  bool pblnReset();

 private:
  std::string entryID_;
  std::string folder_;
  std::string key_;
  std::string storeID_;
  bool subFolders_ = false;
};

}  // namespace dks
