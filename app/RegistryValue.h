// Reading and writing the program's registry values through gobjUtility. Value names are
// written with their leading "\" ("\Debug") and appended to the key path.
#pragma once

#include <cstdint>
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

/// Writes value `name` under `keyPath` as `kind` (kValueText or kValueInteger). The utility
/// component's result.
bool writeRegistryValue(const std::string& keyPath, std::string_view name, const Variant& value,
                        int32_t kind);

}  // namespace dks
