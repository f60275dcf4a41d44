#include "mailstore/colItem.h"

#include <memory>

#include "app/attempt.h"
#include "platform/Text.h"

namespace dks {

void colItem::Add(std::string_view strEntryID, std::string_view strKey) {
  attempt(className(), "Add", [&] {
    std::string entryID = trimSpaces(strEntryID);
    auto record = std::make_shared<clsItem>();
    append(record, trimSpaces(strKey));
    if (!entryID.empty()) record->setEntryID(entryID);
  });
}

}  // namespace dks
