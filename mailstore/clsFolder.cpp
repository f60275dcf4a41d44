#include "mailstore/clsFolder.h"

#include "app/attempt.h"
#include "mailstore/PathText.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {
constexpr const char* kClass = "clsFolder";
}  // namespace

InertFolder& InertFolder::instance() {
  static InertFolder inert;
  return inert;
}

const std::string& InertFolder::empty() {
  static const std::string kEmpty;
  return kEmpty;
}

std::shared_ptr<OutlookNamespace> mapiNamespace(const std::shared_ptr<AutomationObject>& objApp) {
  auto* application = dynamic_cast<OutlookApplication*>(objApp.get());
  if (application == nullptr) throw Failure::notSupported();
  return application->GetNamespace("MAPI");
}

void clsFolder::setEntryID(std::string_view value) {
  entryID_ = trimSpaces(value);
}
void clsFolder::setFolderPath(std::string_view value) {
  folderPath_ = trimSpaces(value);
}
void clsFolder::setName(std::string_view value) {
  name_ = trimSpaces(value);
}
void clsFolder::setParent(std::string_view value) {
  parent_ = trimSpaces(value);
}
void clsFolder::setParentEntryID(std::string_view value) {
  parentEntryID_ = trimSpaces(value);
}
void clsFolder::setParentStoreID(std::string_view value) {
  parentStoreID_ = trimSpaces(value);
}
void clsFolder::setStoreID(std::string_view value) {
  storeID_ = trimSpaces(value);
}

bool clsFolder::pblnGetDefault(const std::shared_ptr<AutomationObject>& objApp, int32_t lngFolder,
                               std::shared_ptr<OutlookFolder>& objFolder) {
  return attempt(kClass, "pblnGetDefault", [&] {
    if (!objApp) throw Failure::parameterMissing();
    objFolder = mapiNamespace(objApp)->GetDefaultFolder(lngFolder);
    recordFolder(objFolder.get());
    OutlookRef parent = objFolder->Parent();
    // The parent's facts are what it can give: above a store's top folder stands the name
    // space, which has no text of its own.
    ignoreFailures([&] { setParent(pathText(*objectOf(parent))); });
    ignoreFailures([&] { setParentEntryID(textOf(objectOf(parent)->Get("EntryID"))); });
    ignoreFailures([&] { setParentStoreID(textOf(objectOf(parent)->Get("StoreID"))); });
  });
}

bool clsFolder::pblnGetFromID(const std::shared_ptr<AutomationObject>& objApp,
                              std::shared_ptr<OutlookFolder>& objFolder) {
  return attempt(kClass, "pblnGetFromID", [&] {
    if (entryID_.empty() || storeID_.empty() || !objApp) throw Failure::parameterMissing();
    objFolder = mapiNamespace(objApp)->GetFolderFromID(entryID_, storeID_);
    recordFolder(objFolder.get());
    OutlookRef parent = objectOf(objFolder->Parent());
    setParent(pathText(*parent));
    setParentEntryID(textOf(parent->Get("EntryID")));
    setParentStoreID(textOf(parent->Get("StoreID")));
  });
}

bool clsFolder::pblnReset() {
  for (std::string* field :
       {&entryID_, &folderPath_, &name_, &parent_, &parentEntryID_, &parentStoreID_, &storeID_})
    field->clear();
  return true;
}

void clsFolder::recordFolder(OutlookFolder* folder) {
  if (folder == nullptr) throw Failure::objectNotSet();
  setEntryID(folder->EntryID());
  setFolderPath(pathText(*folder));
  setName(folder->Name());
}

}  // namespace dks
