// The interface of a folder record: the identity and path texts of a mail store folder and the
// two ways of opening one. clsFolder implements it; InertFolder is the same interface presented
// without effect, as the include folder presents it next to its own members.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Outlook.h"

namespace dks {

class FolderInterface {
 public:
  virtual ~FolderInterface() = default;

  virtual const std::string& EntryID() const = 0;
  virtual void setEntryID(std::string_view value) = 0;
  virtual const std::string& FolderPath() const = 0;
  virtual void setFolderPath(std::string_view value) = 0;
  virtual const std::string& Name() const = 0;
  virtual void setName(std::string_view value) = 0;
  virtual const std::string& Parent() const = 0;
  virtual void setParent(std::string_view value) = 0;
  virtual const std::string& ParentEntryID() const = 0;
  virtual void setParentEntryID(std::string_view value) = 0;
  virtual const std::string& ParentStoreID() const = 0;
  virtual void setParentStoreID(std::string_view value) = 0;
  virtual const std::string& StoreID() const = 0;
  virtual void setStoreID(std::string_view value) = 0;
  virtual bool pblnGetDefault(const std::shared_ptr<AutomationObject>& objApp, int32_t lngFolder,
                              std::shared_ptr<OutlookFolder>& objFolder) = 0;
  virtual bool pblnGetFromID(const std::shared_ptr<AutomationObject>& objApp,
                             std::shared_ptr<OutlookFolder>& objFolder) = 0;
  virtual bool pblnReset() = 0;
};

/// The folder interface without effect: reads give "", writes are ignored, the functions give
/// False and leave `objFolder` alone. Stateless; one instance serves every class presenting it.
class InertFolder final : public FolderInterface {
 public:
  /// The one shared instance.
  static InertFolder& instance();

  const std::string& EntryID() const override { return empty(); }
  void setEntryID(std::string_view) override {}
  const std::string& FolderPath() const override { return empty(); }
  void setFolderPath(std::string_view) override {}
  const std::string& Name() const override { return empty(); }
  void setName(std::string_view) override {}
  const std::string& Parent() const override { return empty(); }
  void setParent(std::string_view) override {}
  const std::string& ParentEntryID() const override { return empty(); }
  void setParentEntryID(std::string_view) override {}
  const std::string& ParentStoreID() const override { return empty(); }
  void setParentStoreID(std::string_view) override {}
  const std::string& StoreID() const override { return empty(); }
  void setStoreID(std::string_view) override {}
  bool pblnGetDefault(const std::shared_ptr<AutomationObject>&, int32_t,
                      std::shared_ptr<OutlookFolder>&) override {
    return false;
  }
  bool pblnGetFromID(const std::shared_ptr<AutomationObject>&,
                     std::shared_ptr<OutlookFolder>&) override {
    return false;
  }
  bool pblnReset() override { return false; }

 private:
  static const std::string& empty();
};

}  // namespace dks
