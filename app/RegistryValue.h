// Reading and writing the program's registry values through gobjUtility. Value names are
// written with their leading "\" ("\Debug") and appended to the key path.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Variant.h"

namespace dks {

/// Reads value `name` under `keyPath`; `defaultValue` when none is stored. False when the
/// utility component reports False. Throws Failure 91 when gobjUtility is not set.
bool readRegistryValue(const std::string& keyPath, std::string_view name,
                       const Variant& defaultValue, Variant& value);

/// Reads a number setting into `number`. False as readRegistryValue; throws Failure 13 or 6 when
/// the stored value is not a 32-bit number.
bool readRegistryNumber(const std::string& keyPath, std::string_view name, int32_t defaultValue,
                        int32_t& number);

/// Reads a text setting into `text`, trimmed of spaces. False as readRegistryValue.
bool readRegistryText(const std::string& keyPath, std::string_view name,
                      const std::string& defaultValue, std::string& text);

/// Calls `visit` with the name of every sub-key of `keyPath`, in the hive's order, until it
/// returns False. A key that does not exist has no sub-keys: True without a call. False when a
/// utility call reports False (the names before it were visited) or `visit` returned False.
/// Throws Failure 91 when gobjUtility is not set.
bool forEachSubKey(const std::string& keyPath,
                   const std::function<bool(const std::string& name)>& visit);

/// Writes value `name` under `keyPath` as `kind` (kValueText or kValueInteger). The utility
/// component's result.
bool writeRegistryValue(const std::string& keyPath, std::string_view name, const Variant& value,
                        int32_t kind);

}  // namespace dks
