// MaildirStore: the folder tree of the user's Maildir store.
//
// Two layouts are read. Maildir++ (the root holds cur/ or new/): the root itself is the Inbox;
// each ".Name" directory holding cur/ or new/ is a folder, ".Name.Child" a child of ".Name",
// ".INBOX.Child" (INBOX in any case) a child of the Inbox; a level that has no directory of its
// own is a folder without messages; names are modified UTF-7 and shown decoded. fs (any other
// root): every directory holding cur/ or new/, or such folders further down, is a folder, except
// cur/, new/, tmp/ and names starting with "."; sub-directories are sub-folders, names are shown
// as on disk; the Inbox is the top-level folder named Inbox in any case.
//
// Above them stands the store's top folder, with the store's display name. A folder's path is
// its directory relative to the root with "/" separators ("Inbox", "Inbox/Projects"; ".Sent"
// and ".INBOX.Projects" in Maildir++, where the Inbox is "."); the top folder's path is "/".
// Every question is answered from the disk as it is at the time of asking.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/maildir/MaildirSettings.h"

namespace dks {

/// Where a folder stands in the store.
struct FolderPlace {
  /// Relative to the root, as described above; "/" for the top folder.
  std::string path;
  /// The name shown, valid UTF-8.
  std::string name;
  /// The directory that holds the folder's cur/ and new/; "" for the top folder.
  std::string directory;
};

class MaildirStore {
 public:
  /// The store at settings.root with the layout found there. Throws Failure 429 "ActiveX
  /// component can't create object" when the root is not an existing directory.
  static std::shared_ptr<MaildirStore> open(const MaildirSettings& settings);

  /// The root's absolute path, without a trailing separator.
  const std::string& root() const { return root_; }
  bool isMaildirPlusPlus() const { return plusPlus_; }
  const MaildirSettings& settings() const { return settings_; }

  FolderPlace top() const;

  /// The direct sub-folders of `folder`, ordered by name ignoring letter case. Throws Failure
  /// (Failure::fromErrno) when a directory cannot be read.
  std::vector<FolderPlace> children(const FolderPlace& folder) const;

  /// The folder that holds `folder`; nullopt for the top folder.
  std::optional<FolderPlace> parent(const FolderPlace& folder) const;

  /// The folder at `path`; nullopt when the store has no folder there (also for paths that
  /// leave the store, such as "..").
  std::optional<FolderPlace> find(std::string_view path) const;

  /// The Inbox; nullopt when the store has none.
  std::optional<FolderPlace> inbox() const;

  /// The first of settings().sentFolderNames that a top-level folder bears (letter case
  /// ignored); nullopt when none does.
  std::optional<FolderPlace> sentItems() const;

 private:
  MaildirStore(std::string root, bool plusPlus, MaildirSettings settings);

  std::optional<std::string> parentPath(std::string_view path) const;
  FolderPlace placeAt(const std::string& path) const;
  std::vector<std::string> childPathsPlusPlus(const std::string& path) const;
  std::vector<std::string> childPathsFs(const std::string& path) const;

  std::string root_;
  bool plusPlus_;
  MaildirSettings settings_;
};

}  // namespace dks
