#include "platform/Variant.h"

#include <cmath>
#include <limits>

#include "platform/Failure.h"

namespace dks {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view withoutWhiteSpace(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

int32_t checkedLong(long double number) {
  long double rounded = std::nearbyint(number);  // the default rounding mode rounds halves to even
  if (rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    throw Failure::overflow();
  return static_cast<int32_t>(rounded);
}

int32_t hexToLong(std::string_view digits) {
  if (digits.empty() || digits.size() > 8)
    throw digits.empty() ? Failure::typeMismatch() : Failure::overflow();
  uint32_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      throw Failure::typeMismatch();
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(value);  // "&HFFFFFFFF" is -1, as on the platform
}

int32_t decimalToLong(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long double number = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true)
    number = number * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    long double scale = 0.1L;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true, scale /= 10)
      number += (text[i] - '0') * scale;
  }
  if (!digits || i != text.size()) throw Failure::typeMismatch();
  return checkedLong(negative ? -number : number);
}

}  // namespace

int32_t toLong(const Variant& value) {
  if (const auto* number = std::get_if<int32_t>(&value)) return *number;
  if (isEmpty(value)) return 0;
  std::string_view text = withoutWhiteSpace(std::get<std::string>(value));
  if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h'))
    return hexToLong(text.substr(2));
  return decimalToLong(text);
}

std::optional<int32_t> tryLong(const Variant& value) noexcept {
  try {
    return toLong(value);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

std::string toText(const Variant& value) {
  if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return {};
}

}  // namespace dks
