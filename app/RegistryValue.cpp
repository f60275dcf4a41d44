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

bool forEachSubKey(const std::string& keyPath,
                   const std::function<bool(const std::string& name)>& visit) {
  SystemUtility& utility = requireUtility();
  bool exists = false;
  if (!utility.KeyExists(HKEY_CURRENT_USER, keyPath, exists)) return false;
  if (!exists) return true;
  std::string keyClass, lastWrite;
  int32_t classLength = 0, subKeys = 0, longestSubKey = 0, longestClass = 0, values = 0,
          longestValueName = 0, longestValue = 0;
  if (!utility.QueryKeyInfo(HKEY_CURRENT_USER, keyPath, keyClass, classLength, subKeys,
                            longestSubKey, longestClass, values, longestValueName, longestValue,
                            lastWrite))
    return false;
  for (int32_t index = 0; index < subKeys; ++index) {
    std::string name;
    if (!utility.EnumKey(HKEY_CURRENT_USER, keyPath, index, name, longestSubKey, keyClass,
                         lastWrite, 0))
      return false;
    if (!visit(name)) return false;
  }
  return true;
}

bool writeRegistryValue(const std::string& keyPath, std::string_view name, const Variant& value,
                        int32_t kind) {
  return requireUtility().WriteValue(HKEY_CURRENT_USER, keyPath + std::string(name), value, kind);
}

}  // namespace dks
