// colItem: the item records of one include folder, in order of addition, each optionally under
// a unique key (the server's document id for a listed document; none for a mail item the server
// does not list).
#pragma once

#include <string_view>

#include "app/KeyedCollection.h"
#include "mailstore/clsItem.h"

namespace dks {

class colItem : public KeyedCollection<clsItem> {
 public:
  /// An empty collection.
  colItem() : KeyedCollection("colItem") {}

  /// Appends a new record without halves, under `strKey` (trimmed) when that is not "", and
  /// writes `strEntryID` (trimmed) to its EntryID when that is not "". A key that is taken,
  /// letter case ignored, records ("colItem", "Add", 457) and appends nothing.
  void Add(std::string_view strEntryID = "", std::string_view strKey = "");
};

}  // namespace dks
