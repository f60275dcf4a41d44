// colExclude: the exclusions of one include folder, in registry order, each under its sub-key's
// key path. Only exclusions whose folder text holds the include folder's text are loaded.
#pragma once

#include <string_view>

#include "app/KeyedCollection.h"
#include "reconcile/clsExclude.h"

namespace dks {

class colExclude : public KeyedCollection<clsExclude> {
 public:
  /// An empty set (creation runs pblnReset("")).
  colExclude();

  /// Adds an exclusion unless one with the key `strKey` or the folder text `strFolder` (both
  /// trimmed, letter case ignored) is there already; a record with that folder text only takes
  /// `blnSubFolders`. A new record is appended under `strKey` (none for ""), loaded from the
  /// registry through its Key, and then takes the non-empty arguments, which override what was
  /// loaded. Failures are recorded under ("colExclude", "Add").
  void Add(std::string_view strFolder = "", bool blnSubFolders = false,
           std::string_view strEntryID = "", std::string_view strStoreID = "",
           std::string_view strKey = "");

  /// Empties the set, then, unless `strInclude` is blank or the application's Flags is exactly
  /// 999, loads every sub-key of the exclusion list key whose name holds "#" and whose "Folder"
  /// value is not blank and holds `strInclude` (letter case ignored); a sub-key with a blank
  /// "Folder" is never loaded. False when a utility call reports failure, with the exclusions
  /// loaded before it kept; a run-time failure is recorded under ("colExclude", "pblnReset").
  bool pblnReset(std::string_view strInclude);

  /// Whether `path` (trimmed, not blank) is excluded: an exclusion's Folder equals it, or an
  /// exclusion that covers sub-folders has its Folder anywhere in it; letter case ignored.
  bool Excludes(std::string_view path) const;
};

}  // namespace dks
