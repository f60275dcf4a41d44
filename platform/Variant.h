// Variant: the value of a registry entry, a collection index or an error number, as the
// automation platform hands them around: nothing (Empty), a 32-bit integer, or a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace dks {

using Variant = std::variant<std::monostate, int32_t, std::string>;

/// `vntIndex` of every collection: a position counted from 1, or a key.
using vntIndex = Variant;

/// True for the Empty variant.
inline bool isEmpty(const Variant& value) {
  return std::holds_alternative<std::monostate>(value);
}

/// The value as a 32-bit integer, by the platform's conversion rules: an integer as it is; a text
/// that, without surrounding white space, is a decimal number (sign and fraction allowed, halves
/// rounded to even) or "&H" hexadecimal. Empty gives 0.
/// Throws Failure 13 "Type mismatch" for blank or non-numeric text and Failure 6 "Overflow" for a
/// number outside 32 bits.
int32_t toLong(const Variant& value);

/// The same without failures: the number, or nullopt where toLong would fail.
std::optional<int32_t> tryLong(const Variant& value) noexcept;

/// The value as text: a text as it is, an integer in decimal, Empty as "".
std::string toText(const Variant& value);

}  // namespace dks
