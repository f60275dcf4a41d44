// colInclude: the include folders of the reconciler, in registry order, each under the key path
// of its sub-key of the include list key.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/KeyedCollection.h"
#include "reconcile/clsInclude.h"

namespace dks {

class colInclude : public KeyedCollection<clsInclude> {
 public:
  /// Runs pblnReset: the set as the registry holds it.
  colInclude();

  /// Adds an include folder unless one with the key `strKey` or the folder text `strFolder`
  /// (both trimmed, letter case ignored) is there already; a folder with that text only takes
  /// `blnSubFolders`. A new folder is appended under `strKey` (none for ""), gets Key (which
  /// loads its registry values), and then the arguments given: Folder and SubFolders when
  /// `strFolder` is not "", Default unless `lngDefault` is -1, EntryID and StoreID when not "".
  /// Failures are recorded under ("colInclude", "Add").
  void Add(std::string_view strFolder = "", bool blnSubFolders = false, int32_t lngDefault = -1,
           std::string_view strEntryID = "", std::string_view strStoreID = "",
           std::string_view strKey = "");

  /// Drops every include folder, then adds one per sub-key of the include list key whose name
  /// holds "#", in enumeration order. False when a utility call reports failure, with the folders
  /// added before it kept; a run-time failure is recorded under ("colInclude", "pblnReset").
  bool pblnReset();
};

}  // namespace dks
