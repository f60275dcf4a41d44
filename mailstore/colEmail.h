// colEmail: the e-mails that one request will report, in order of addition, each optionally
// under a unique key.
#pragma once

#include <memory>
#include <string_view>

#include "app/KeyedCollection.h"
#include "mailstore/clsEmail.h"
#include "mailstore/clsItem.h"

namespace dks {

class colEmail : public KeyedCollection<clsEmail> {
 public:
  /// An empty collection.
  colEmail() : KeyedCollection("colEmail") {}

  /// Appends a new record in its reset state, under `strKey` (trimmed) when that is not "", and
  /// writes `strCurrent` (trimmed) to its CurrentLocation when that is not "". A key that is
  /// taken, letter case ignored, records ("colEmail", "Add", 457) and appends nothing.
  void Add(std::string_view strCurrent = "", std::string_view strKey = "");

  /// Fills the record at `vntIndex` from the item record `objItem`: CurrentDate, CurrentSize,
  /// DocumentID, PreviousDate, PreviousLocation, PreviousSize, Resave, and Title (the item's
  /// Parent, "\", its Subject), in that order; CurrentLocation, Action, Description and
  /// SnapshotLocation are left alone. At DebugLevel 3 or more writes one run-log line ("Title=...,
  /// Resave=..., CLocation=..., CDate=..., PLocation=..., PDate=...").
  /// False after recording -99987 "Parameter missing" for a missing item; an index that names no
  /// record records ("colEmail", "Item") and then ("colEmail", "pblnLoad", 91).
  bool pblnLoad(const std::shared_ptr<clsItem>& objItem, const vntIndex& index);
};

}  // namespace dks
