// SystemUtility: the utility component that every subsystem uses for registry access, time
// stamps, file removal and two text operations. Every operation reports its outcome as a
// Boolean and never throws; callers go on only on True.
//
// Abstract so that tests can put a fake in its place (platform/testing/FakeUtility.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/Variant.h"

namespace dks {

/// The only root key the program passes: the current user's hive.
inline constexpr uint32_t HKEY_CURRENT_USER = 0x80000001u;

/// Value kinds of WriteValue.
inline constexpr int32_t kValueText = 1;
inline constexpr int32_t kValueInteger = 4;

/// Key identifiers of GetKeyPath.
enum KeyId : int32_t {
  kSharedSettingsKey = 1,
  kApplicationKey = 41,
  kDeleteActionKey = 42,
  kExclusionListKey = 43,
  kIncludeListKey = 44,
  kMoveActionKey = 45,
  kUpdateActionKey = 46,
  kSaveActionKey = 47,
};

class SystemUtility {
 public:
  virtual ~SystemUtility() = default;

  /// Stores the current local date and time as "dd/mm/yyyy hh:nn:ss" in `stamp`.
  virtual bool GetTimeStamp(std::string& stamp) = 0;

  /// True when nothing is at `path` afterwards, also when nothing ever was. `path` resolves as
  /// the file-system object resolves it (either separator, case-blind components).
  virtual bool DeleteFile(const std::string& path, bool force) = 0;

  /// The name of the sub-key at `index` (from 0, case-blind alphabetical order) of `keyPath`.
  /// False when the key or the index does not exist or the name is longer than `nameLimit`.
  /// `className` is always ""; `lastWrite` is the sub-key's last change as a time stamp.
  virtual bool EnumKey(uint32_t root, const std::string& keyPath, int32_t index, std::string& name,
                       int32_t nameLimit, std::string& className, std::string& lastWrite,
                       int32_t reserved) = 0;

  /// Whether `keyPath` exists; True when the question could be answered.
  virtual bool KeyExists(uint32_t root, const std::string& keyPath, bool& exists) = 0;

  /// The key path for a key identifier (KeyId), without a trailing "\". False for an unknown
  /// identifier.
  virtual bool GetKeyPath(int32_t keyId, std::string& keyPath) = 0;

  /// Facts of an existing key: the sub-key count and the longest sub-key name (in characters)
  /// are what callers rely on. False when the key does not exist.
  virtual bool QueryKeyInfo(uint32_t root, const std::string& keyPath, std::string& className,
                            int32_t& classLength, int32_t& subKeys, int32_t& longestSubKey,
                            int32_t& longestClass, int32_t& values, int32_t& longestValueName,
                            int32_t& longestValue, std::string& lastWrite) = 0;

  /// Reads the value at `valuePath` (key path, "\", value name): a text value as text, an
  /// integer value as a 32-bit integer. A value or key that is not stored gives `defaultValue`
  /// and True. False only when the hive cannot be read.
  virtual bool ReadValue(uint32_t root, const std::string& valuePath, const Variant& defaultValue,
                         Variant& value) = 0;

  /// Stores `value` at `valuePath` as kind `valueType` (kValueText or kValueInteger), creating
  /// missing keys. False for another kind, a value that does not convert to it, or a hive that
  /// cannot be written.
  virtual bool WriteValue(uint32_t root, const std::string& valuePath, const Variant& value,
                          int32_t valueType) = 0;

  /// Mode 0: every occurrence of `find` (exact case) replaced by `replacement`; an empty `find`
  /// changes nothing. Mode 5: characters that XML 1.0 does not allow removed. Mode 4: byte
  /// sequences that are not UTF-8 read as Windows-1252 and converted. Any other mode: False,
  /// text unchanged.
  virtual bool ReplaceText(std::string& text, const std::string& find,
                           const std::string& replacement, int32_t mode) = 0;

  /// Mode 0 (outgoing request): the UTF-8 text unchanged. Mode 1 (incoming response): a UTF-8
  /// byte-order mark dropped; text that is not valid UTF-8 read as Windows-1252 and converted.
  /// Any other mode: False, text unchanged.
  virtual bool ConvertText(std::string& text, int32_t mode) = 0;
};

}  // namespace dks
