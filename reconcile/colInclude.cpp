#include "reconcile/colInclude.h"

#include <memory>
#include <string>

#include "app/RegistryValue.h"
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
    std::string listKey;
    if (!requireUtility().GetKeyPath(kIncludeListKey, listKey)) return false;
    return forEachSubKey(listKey, [&](const std::string& name) {
      if (name.find('#') != std::string::npos) Add("", false, -1, "", "", listKey + "\\" + name);
      return true;
    });
  });
}

}  // namespace dks
