// clsFolder: one folder of the mail store, opened by default-folder number or by entry id, with
// its identity and path texts and those of its parent. Every field is stored trimmed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/FolderInterface.h"
#include "platform/Outlook.h"

namespace dks {

class clsFolder final : public FolderInterface {
 public:
  /// A folder record with every field "".
  clsFolder() { pblnReset(); }

  const std::string& EntryID() const override { return entryID_; }
  void setEntryID(std::string_view value) override;
  /// Parent text, "\", name.
  const std::string& FolderPath() const override { return folderPath_; }
  void setFolderPath(std::string_view value) override;
  const std::string& Name() const override { return name_; }
  void setName(std::string_view value) override;
  /// The parent folder's own path text.
  const std::string& Parent() const override { return parent_; }
  void setParent(std::string_view value) override;
  const std::string& ParentEntryID() const override { return parentEntryID_; }
  void setParentEntryID(std::string_view value) override;
  const std::string& ParentStoreID() const override { return parentStoreID_; }
  void setParentStoreID(std::string_view value) override;
  /// The store of the folder; set by callers only, as input of pblnGetFromID.
  const std::string& StoreID() const override { return storeID_; }
  void setStoreID(std::string_view value) override;

  /// Opens default folder `lngFolder` (6 Inbox, 5 Sent Items) of the mail client `objApp` into
  /// `objFolder` and records EntryID, FolderPath, Name and, where the parent answers, Parent,
  /// ParentEntryID and ParentStoreID (a parent field the parent cannot give keeps its value).
  /// False after one recorded failure: -99987 "Parameter missing" without `objApp` (no field
  /// changes), else the mail client's failure, with the fields written before it kept.
  bool pblnGetDefault(const std::shared_ptr<AutomationObject>& objApp, int32_t lngFolder,
                      std::shared_ptr<OutlookFolder>& objFolder) override;

  /// Opens the folder named by EntryID and StoreID into `objFolder` and records the same fields
  /// as pblnGetDefault, every one of them required. False after one recorded failure: -99987
  /// "Parameter missing" when EntryID or StoreID is "" or `objApp` is not set (the mail client is
  /// not called), else the first failure, with the fields written before it kept.
  bool pblnGetFromID(const std::shared_ptr<AutomationObject>& objApp,
                     std::shared_ptr<OutlookFolder>& objFolder) override;

  /// Sets every field to "". True.
  bool pblnReset() override;

 private:
  // Records EntryID, FolderPath and Name of an opened folder; Failure 91 for none.
  void recordFolder(OutlookFolder* folder);

  std::string entryID_;
  std::string folderPath_;
  std::string name_;
  std::string parent_;
  std::string parentEntryID_;
  std::string parentStoreID_;
  std::string storeID_;
};

/// The name space "MAPI" of the mail client `objApp`. Throws Failure 438 when `objApp` is not a
/// mail client's application object, or the mail client's failure.
std::shared_ptr<OutlookNamespace> mapiNamespace(const std::shared_ptr<AutomationObject>& objApp);

}  // namespace dks
