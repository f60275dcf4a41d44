// clsInclude: settings, owned objects, reset and the exclusion test. The listing exchange, the
// tree walk and the pass are in IncludeListing.cpp, IncludeTreeWalk.cpp and IncludePass.cpp.
#include "reconcile/clsInclude.h"

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/modApplication.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsInclude";

// Creates the object on first use, else resets it; False when the reset reports False.
template <class T, class... Arguments>
bool createOrReset(std::shared_ptr<T>& object, Arguments&&... arguments) {
  if (!object) {
    object = std::make_shared<T>();
    return true;
  }
  return object->pblnReset(std::forward<Arguments>(arguments)...);
}

}  // namespace

clsInclude::clsInclude() {
  setKey("");
}

clsInclude::~clsInclude() {
  ignoreFailures([&] {
    mailItems_.reset();
    response_.reset();
    request_.reset();
    update_.reset();
    move_.reset();
    save_.reset();
    delete_.reset();
    exclude_.reset();
    folderFacts_.reset();
    action_.reset();
  });
}

void clsInclude::setDefault(int32_t value) noexcept {
  default_ = value < 0 ? 0 : value;
}

void clsInclude::setEntryID(std::string_view value) {
  entryID_ = trimSpaces(value);
}

void clsInclude::setFirstMatch(int32_t value) noexcept {
  firstMatch_ = value < 1 ? 1 : value;
}

void clsInclude::setFolder(std::string_view value) {
  folder_ = trimSpaces(value);
  if (exclude_) exclude_->pblnReset(folder_);
}

void clsInclude::setKey(std::string_view value) {
  key_ = trimSpaces(value);
  pblnReset();
}

void clsInclude::setMaxCharacters(int32_t value) noexcept {
  maxCharacters_ = value < 1 ? -1 : value;
}

void clsInclude::setMaxMatches(int32_t value) noexcept {
  maxMatches_ = value < 1 ? -1 : value;
}

void clsInclude::setStoreID(std::string_view value) {
  storeID_ = trimSpaces(value);
}

std::string clsInclude::FolderPath() const {
  return folderFacts_ ? folderFacts_->FolderPath() : std::string();
}

std::string clsInclude::Name() const {
  return folderFacts_ ? folderFacts_->Name() : std::string();
}

std::string clsInclude::Parent() const {
  return folderFacts_ ? folderFacts_->Parent() : std::string();
}

std::string clsInclude::ParentEntryID() const {
  return folderFacts_ ? folderFacts_->ParentEntryID() : std::string();
}

std::string clsInclude::ParentStoreID() const {
  return folderFacts_ ? folderFacts_->ParentStoreID() : std::string();
}

std::string clsInclude::RequestLog() const {
  return action_ ? action_->RequestLog() : std::string();
}

void clsInclude::setRequestLog(std::string_view value) {
  if (action_) action_->setRequestLog(value);
}

std::string clsInclude::ResponseLog() const {
  return action_ ? action_->ResponseLog() : std::string();
}

void clsInclude::setResponseLog(std::string_view value) {
  if (action_) action_->setResponseLog(value);
}

std::string clsInclude::Script() const {
  return action_ ? action_->Script() : std::string();
}

void clsInclude::setScript(std::string_view value) {
  if (action_) action_->setScript(value);
  if (request_) request_->setScript(value);
}

std::string clsInclude::URN() const {
  return action_ ? action_->URN() : std::string();
}

void clsInclude::setURN(std::string_view value) {
  if (action_) action_->setURN(value);
}

bool clsInclude::pblnIgnore(std::string_view strPath, bool& blnIgnore) {
  return attempt(kClass, "pblnIgnore", [&] {
    blnIgnore = false;
    const std::string path = trimSpaces(strPath);
    if (path.empty()) throw Failure::parameterMissing();
    if (!exclude_) throw Failure::objectNotSet();
    blnIgnore = exclude_->Excludes(path);
  });
}

bool clsInclude::pblnReset() {
  return attempt(kClass, "pblnReset", [&] {
    setDefault(0);
    setEntryID("");
    setFirstMatch(1);
    setFolder("");
    setMaxCharacters(-1);
    setMaxMatches(-1);
    setSorted(false);
    setStoreID("");
    setSubFolders(false);

    std::string listKey;
    if (!requireUtility().GetKeyPath(kIncludeListKey, listKey)) return false;
    int32_t number = 0;
    if (!readRegistryNumber(listKey, "\\FirstMatch", FirstMatch(), number)) return false;
    if (number != 0) setFirstMatch(number);
    if (!readRegistryNumber(listKey, "\\MaximumCharacters", MaxCharacters(), number)) return false;
    if (number != 0) setMaxCharacters(number);
    if (!readRegistryNumber(listKey, "\\MaximumMatches", MaxMatches(), number)) return false;
    if (number != 0) setMaxMatches(number);
    if (!readRegistryNumber(listKey, "\\Sorted", Sorted() ? 1 : 0, number)) return false;
    if (number != 0) setSorted(true);

    if (!Key().empty() && !loadFolderValues()) return false;
    return resetOwnedObjects();
  });
}

bool clsInclude::loadFolderValues() {
  bool exists = false;
  if (!requireUtility().KeyExists(HKEY_CURRENT_USER, Key(), exists)) return false;
  if (!exists) return true;
  int32_t number = 0;
  std::string text;
  if (!readRegistryNumber(Key(), "\\Default", Default(), number)) return false;
  if (number != 0) setDefault(number);
  if (!readRegistryText(Key(), "\\EntryID", EntryID(), text)) return false;
  if (!text.empty()) setEntryID(text);
  if (!readRegistryText(Key(), "\\Folder", Folder(), text)) return false;
  if (!text.empty()) setFolder(text);
  if (!readRegistryText(Key(), "\\StoreID", StoreID(), text)) return false;
  if (!text.empty()) setStoreID(text);
  if (!readRegistryNumber(Key(), "\\SubFolders", SubFolders() ? 1 : 0, number)) return false;
  if (number != 0) setSubFolders(true);
  return true;
}

bool clsInclude::resetOwnedObjects() {
  if (!action_) {
    action_ = std::make_shared<clsAction>();
    action_->setAction(0);
  } else if (!action_->pblnReset()) {
    return false;
  }
  if (!createOrReset(folderFacts_)) return false;
  if (!exclude_) {
    exclude_ = std::make_shared<colExclude>();
  } else if (!exclude_->pblnReset(Folder())) {
    return false;
  }
  if (!createOrReset(delete_) || !createOrReset(save_) || !createOrReset(move_) ||
      !createOrReset(update_))
    return false;
  if (!request_) {
    request_ = std::make_shared<clsDocket>();
    request_->setScript(Script());
  } else if (!request_->pblnReset()) {
    return false;
  }
  return createOrReset(response_) && createOrReset(mailItems_);
}

}  // namespace dks
