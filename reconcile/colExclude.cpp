#include "reconcile/colExclude.h"

#include <cstdint>
#include <memory>
#include <string>

#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {

colExclude::colExclude() : KeyedCollection("colExclude") {
  pblnReset("");
}

void colExclude::Add(std::string_view strFolder, bool blnSubFolders, std::string_view strEntryID,
                     std::string_view strStoreID, std::string_view strKey) {
  attempt(className(), "Add", [&] {
    const std::string key = trimSpaces(strKey);
    const std::string folder = trimSpaces(strFolder);
    for (const std::shared_ptr<clsExclude>& record : NewEnum()) {
      if (!key.empty() && equalsIgnoreCase(record->Key(), key)) return;
      if (!folder.empty() && equalsIgnoreCase(record->Folder(), folder)) {
        record->setSubFolders(blnSubFolders);
        return;
      }
    }

    std::shared_ptr<clsExclude> record = appendNew(key);
    if (!key.empty()) record->setKey(key);
    // The arguments given override what the record loaded from its key.
    if (!folder.empty()) {
      record->setFolder(folder);
      record->setSubFolders(blnSubFolders);
    }
    if (!strEntryID.empty()) record->setEntryID(strEntryID);
    if (!strStoreID.empty()) record->setStoreID(strStoreID);
  });
}

bool colExclude::pblnReset(std::string_view strInclude) {
  return attempt(className(), "pblnReset", [&] {
    KeyedCollection::pblnReset();
    const std::string include = foldCase(trimSpaces(strInclude));
    if (include.empty()) return true;
    if (requireApplication().Flags() == rfInstallation) return true;

    SystemUtility& utility = requireUtility();
    std::string listKey;
    if (!utility.GetKeyPath(kExclusionListKey, listKey)) return false;
    std::string keyClass, lastWrite;
    int32_t classLength = 0, subKeys = 0, longestSubKey = 0, longestClass = 0, values = 0,
            longestValueName = 0, longestValue = 0;
    if (!utility.QueryKeyInfo(HKEY_CURRENT_USER, listKey, keyClass, classLength, subKeys,
                              longestSubKey, longestClass, values, longestValueName, longestValue,
                              lastWrite))
      return false;

    for (int32_t index = 0; index < subKeys; ++index) {
      std::string name;
      if (!utility.EnumKey(HKEY_CURRENT_USER, listKey, index, name, longestSubKey, keyClass,
                           lastWrite, 0))
        return false;
      if (name.find('#') == std::string::npos) continue;
      const std::string key = listKey + "\\" + name;
      std::string folder;
      if (!readRegistryText(key, "\\Folder", "", folder)) return false;
      // A blank "Folder" never matches, whatever the sub-keys around it hold.
      if (!folder.empty() && foldCase(folder).find(include) != std::string::npos)
        Add("", false, "", "", key);
    }
    return true;
  });
}

bool colExclude::Excludes(std::string_view path) const {
  const std::string folded = foldCase(trimSpaces(path));
  if (folded.empty()) return false;
  for (const std::shared_ptr<clsExclude>& record : NewEnum()) {
    const std::string folder = foldCase(record->Folder());
    // Containment, not a prefix test: the folder text may stand anywhere in the path.
    if (folder == folded || (record->SubFolders() && folded.find(folder) != std::string::npos))
      return true;
  }
  return false;
}

}  // namespace dks
