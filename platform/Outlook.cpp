#include "platform/Outlook.h"

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/TimeText.h"
#include "platform/Variant.h"

namespace dks {
namespace {
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
}  // namespace

OutlookValue OutlookFolder::Get(std::string_view name) {
  if (equalsIgnoreCase(name, "EntryID")) return EntryID();
  if (equalsIgnoreCase(name, "Name")) return Name();
  if (equalsIgnoreCase(name, "Parent")) return Parent();
  if (equalsIgnoreCase(name, "StoreID")) return StoreID();
  throw Failure::notSupported();
}

std::string textOf(const OutlookValue& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return std::string(); },
                 [](bool flag) { return std::string(booleanText(flag)); },
                 [](int32_t number) { return std::to_string(number); },
                 [](const std::string& text) { return text; },
                 [](OutlookDate date) { return timeText(date.time); },
                 [](const OutlookRef& object) { return objectOf(object)->DefaultValue(); }},
      value);
}

std::string textOf(OutlookValue&& value) {
  if (auto* text = std::get_if<std::string>(&value)) return std::move(*text);
  return textOf(static_cast<const OutlookValue&>(value));
}

int32_t longOf(const OutlookValue& value) {
  return std::visit(Overloaded{[](std::monostate) { return int32_t{0}; },
                               [](bool flag) { return flag ? int32_t{-1} : int32_t{0}; },
                               [](int32_t number) { return number; },
                               [](const std::string& text) { return toLong(text); },
                               [](OutlookDate) -> int32_t { throw Failure::typeMismatch(); },
                               [](const OutlookRef&) -> int32_t { throw Failure::typeMismatch(); }},
                    value);
}

bool boolOf(const OutlookValue& value) {
  return std::visit(Overloaded{[](std::monostate) { return false; }, [](bool flag) { return flag; },
                               [](int32_t number) { return number != 0; },
                               [](const std::string& text) {
                                 std::string word = trimSpaces(text);
                                 if (equalsIgnoreCase(word, "True")) return true;
                                 if (equalsIgnoreCase(word, "False")) return false;
                                 return toLong(word) != 0;
                               },
                               [](OutlookDate) -> bool { throw Failure::typeMismatch(); },
                               [](const OutlookRef&) -> bool { throw Failure::typeMismatch(); }},
                    value);
}

OutlookRef objectOf(const OutlookValue& value) {
  const auto* object = std::get_if<OutlookRef>(&value);
  if (object == nullptr) throw Failure::typeMismatch();
  if (!*object) throw Failure::objectNotSet();
  return *object;
}

}  // namespace dks
