#include "mailstore/colItem.h"

#include <memory>

#include "app/attempt.h"
#include "platform/Text.h"

namespace dks {

void colItem::Add(std::string_view strEntryID, std::string_view strKey) {
  attempt(className(), "Add", [&] {
    std::shared_ptr<clsItem> record = appendNew(strKey);
    if (!trimSpaces(strEntryID).empty()) record->setEntryID(strEntryID);
  });
}

}  // namespace dks
