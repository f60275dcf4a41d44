#include "app/RegistryValue.h"

#include "app/modApplication.h"
#include "platform/Text.h"

namespace dks {

bool readRegistryValue(const std::string& keyPath, std::string_view name,
                       const Variant& defaultValue, Variant& value) {
  return requireUtility().ReadValue(HKEY_CURRENT_USER, keyPath + std::string(name), defaultValue,
                                    value);
}

bool readRegistryNumber(const std::string& keyPath, std::string_view name, int32_t defaultValue,
                        int32_t& number) {
  Variant value;
  if (!readRegistryValue(keyPath, name, defaultValue, value)) return false;
  number = toLong(value);
  return true;
}

bool readRegistryText(const std::string& keyPath, std::string_view name,
                      const std::string& defaultValue, std::string& text) {
  Variant value;
  if (!readRegistryValue(keyPath, name, defaultValue, value)) return false;
  text = trimSpaces(toText(value));
  return true;
}

bool writeRegistryValue(const std::string& keyPath, std::string_view name, const Variant& value,
                        int32_t kind) {
  return requireUtility().WriteValue(HKEY_CURRENT_USER, keyPath + std::string(name), value, kind);
}

}  // namespace dks
