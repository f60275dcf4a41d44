#include "reconcile/clsExclude.h"

#include <cstdint>

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/modApplication.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsExclude";

// Reads the text value `name` of the sub-key `key` into `field` when it is not blank; the
// field's current value is the default. False when the utility cannot read it.
bool loadText(const std::string& key, std::string_view name, std::string& field) {
  std::string text;
  if (!readRegistryText(key, name, field, text)) return false;
  if (!text.empty()) field = text;
  return true;
}

}  // namespace

clsExclude::clsExclude() {
  setKey("");
}

void clsExclude::setEntryID(std::string_view value) {
  entryID_ = trimSpaces(value);
}

void clsExclude::setFolder(std::string_view value) {
  folder_ = trimSpaces(value);
}

void clsExclude::setKey(std::string_view value) {
  key_ = trimSpaces(value);
  pblnReset();
}

void clsExclude::setStoreID(std::string_view value) {
  storeID_ = trimSpaces(value);
}

bool clsExclude::pblnReset() {
  return attempt(kClass, "pblnReset", [&] {
    entryID_.clear();
    folder_.clear();
    storeID_.clear();
    subFolders_ = false;
    if (key_.empty()) return true;

    bool exists = false;
    if (!requireUtility().KeyExists(HKEY_CURRENT_USER, key_, exists)) return false;
    if (!exists) return true;
    if (!loadText(key_, "\\EntryID", entryID_)) return false;
    if (!loadText(key_, "\\Folder", folder_)) return false;
    if (!loadText(key_, "\\StoreID", storeID_)) return false;
    int32_t subFolders = 0;
    if (!readRegistryNumber(key_, "\\SubFolders", 0, subFolders)) return false;
    if (subFolders != 0) subFolders_ = true;
    return true;
  });
}

}  // namespace dks
