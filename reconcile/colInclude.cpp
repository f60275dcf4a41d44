#include "reconcile/colInclude.h"

#include <memory>
#include <string>

#include "app/attempt.h"
#include "app/modApplication.h"
#include "platform/SystemUtility.h"
#include "platform/Text.h"

namespace dks {

colInclude::colInclude() : KeyedCollection("colInclude") {
  pblnReset();
}

void colInclude::Add(std::string_view strFolder, bool blnSubFolders, int32_t lngDefault,
                     std::string_view strEntryID, std::string_view strStoreID,
                     std::string_view strKey) {
  attempt(className(), "Add", [&] {
    const std::string key = trimSpaces(strKey);
    const std::string folder = trimSpaces(strFolder);
    for (const auto& include : NewEnum()) {
      if (!key.empty() && equalsIgnoreCase(key, include->Key())) return;
      if (!folder.empty() && equalsIgnoreCase(folder, include->Folder())) {
        if (include->SubFolders() != blnSubFolders) include->setSubFolders(blnSubFolders);
        return;
      }
    }

    std::shared_ptr<clsInclude> include = appendNew(key);
    // The key loads the folder's registry values; the arguments given then override them.
    if (!key.empty()) include->setKey(key);
    if (!folder.empty()) {
      include->setFolder(folder);
      include->setSubFolders(blnSubFolders);
    }
    if (lngDefault != -1) include->setDefault(lngDefault);
    if (!trimSpaces(strEntryID).empty()) include->setEntryID(strEntryID);
    if (!trimSpaces(strStoreID).empty()) include->setStoreID(strStoreID);
  });
}

bool colInclude::pblnReset() {
  return attempt(className(), "pblnReset", [&] {
    KeyedCollection::pblnReset();
    SystemUtility& utility = requireUtility();
    std::string listKey;
    if (!utility.GetKeyPath(kIncludeListKey, listKey)) return false;

    std::string className, lastWrite;
    int32_t classLength = 0, subKeys = 0, longestSubKey = 0, longestClass = 0, values = 0,
            longestValueName = 0, longestValue = 0;
    if (!utility.QueryKeyInfo(HKEY_CURRENT_USER, listKey, className, classLength, subKeys,
                              longestSubKey, longestClass, values, longestValueName, longestValue,
                              lastWrite))
      return false;

    for (int32_t index = 0; index < subKeys; ++index) {
      std::string name;
      if (!utility.EnumKey(HKEY_CURRENT_USER, listKey, index, name, longestSubKey, className,
                           lastWrite, 0))
        return false;
      if (name.find('#') != std::string::npos) Add("", false, -1, "", "", listKey + "\\" + name);
    }
    return true;
  });
}

}  // namespace dks
