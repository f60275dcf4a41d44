#include "mailstore/clsMailItem.h"

#include "app/attempt.h"
#include "mailstore/WriteRules.h"
#include "platform/Text.h"

namespace dks {
namespace {
constexpr const char* kClass = "clsMailItem";
}  // namespace

InertMailItem& InertMailItem::instance() {
  static InertMailItem inert;
  return inert;
}

const std::string& InertMailItem::empty() {
  static const std::string kEmpty;
  return kEmpty;
}

void clsMailItem::setConversationIndex(std::string_view value) {
  conversationIndex_ = trimSpaces(value);
}
void clsMailItem::setConversationTopic(std::string_view value) {
  conversationTopic_ = trimSpaces(value);
}
void clsMailItem::setEntryID(std::string_view value) {
  entryID_ = trimSpaces(value);
}
void clsMailItem::setCreationTime(std::string_view value) {
  writeTime(kClass, "CreationTime", creationTime_, value);
}
void clsMailItem::setModificationTime(std::string_view value) {
  writeTime(kClass, "ModificationTime", modificationTime_, value);
}
void clsMailItem::setParent(std::string_view value) {
  parent_ = trimSpaces(value);
}
void clsMailItem::setParentEntryID(std::string_view value) {
  parentEntryID_ = trimSpaces(value);
}
void clsMailItem::setParentStoreID(std::string_view value) {
  parentStoreID_ = trimSpaces(value);
}
void clsMailItem::setReceivedTime(std::string_view value) {
  writeTime(kClass, "ReceivedTime", receivedTime_, value);
}
void clsMailItem::setSentOn(std::string_view value) {
  writeTime(kClass, "SentOn", sentOn_, value);
}
void clsMailItem::setSize(int32_t value) {
  size_ = sizeFloor(value);
}
void clsMailItem::setSubject(std::string_view value) {
  subject_ = trimSpaces(value);
}

bool clsMailItem::pblnLoad(const OutlookRef& objItem) {
  return attempt(kClass, "pblnLoad", [&] {
    if (!objItem) throw Failure::parameterMissing();
    copyMailItem(*this, *objItem, [](auto&& statement) { statement(); });
  });
}

bool clsMailItem::pblnReset() {
  *this = clsMailItem();
  return true;
}

}  // namespace dks
