#include "mailstore/WriteRules.h"

#include "app/attempt.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/TimeText.h"

namespace dks {

std::string timeRule(std::string_view text) {
  std::string trimmed = trimSpaces(text);
  if (trimmed.empty()) return trimmed;
  auto time = readTimeText(trimmed);
  if (!time) throw Failure::typeMismatch();
  return timeText(*time);
}

void writeTime(std::string_view object, std::string_view property, std::string& field,
               std::string_view value) noexcept {
  attempt(object, property, [&] { field = timeRule(value); });
}

std::string locationRule(std::string_view text) {
  std::string location = trimSpaces(text);
  size_t scheme = location.find(kLocationScheme);
  if (scheme != std::string::npos) location.erase(0, scheme + kLocationScheme.size());
  return location;
}

}  // namespace dks
