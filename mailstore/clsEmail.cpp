#include "mailstore/clsEmail.h"

#include "mailstore/WriteRules.h"
#include "platform/Text.h"

namespace dks {
namespace {
constexpr const char* kClass = "clsEmail";
}  // namespace

InertEmail& InertEmail::instance() {
  static InertEmail inert;
  return inert;
}

const std::string& InertEmail::empty() {
  static const std::string kEmpty;
  return kEmpty;
}

void clsEmail::setAction(std::string_view value) {
  action_ = trimSpaces(value);
}
void clsEmail::setCurrentLocation(std::string_view value) {
  currentLocation_ = locationRule(value);
}
void clsEmail::setCurrentDate(std::string_view value) {
  writeTime(kClass, "CurrentDate", currentDate_, value);
}
void clsEmail::setCurrentSize(int32_t value) {
  currentSize_ = sizeFloor(value);
}
void clsEmail::setDescription(std::string_view value) {
  description_ = trimSpaces(value);
}
void clsEmail::setDocumentID(int32_t value) {
  documentID_ = documentIdFloor(value);
}
void clsEmail::setPreviousLocation(std::string_view value) {
  previousLocation_ = locationRule(value);
}
void clsEmail::setPreviousDate(std::string_view value) {
  writeTime(kClass, "PreviousDate", previousDate_, value);
}
void clsEmail::setPreviousSize(int32_t value) {
  previousSize_ = sizeFloor(value);
}
void clsEmail::setSnapshotLocation(std::string_view value) {
  snapshotLocation_ = trimSpaces(value);
}
void clsEmail::setTitle(std::string_view value) {
  title_ = trimSpaces(value);
}

std::string clsEmail::SourceURL() const {
  return std::string(kLocationScheme) + currentLocation_;
}

bool clsEmail::pblnReset() {
  *this = clsEmail();
  return true;
}

}  // namespace dks
