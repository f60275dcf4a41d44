// FakeUtility: the utility component for tests. It runs a real HiveUtility over a private
// in-memory hive and lets a test seed and inspect that hive and switch single operations to
// failure:
//
//   FakeUtility utility;
//   utility.setValue("Software\\DKS\\Reconciler", "MaximumMatches", int32_t{50});
//   utility.failingKeyIds.insert(kApplicationKey);  // GetKeyPath(41) now fails
//   utility.failTimeStamp = true;                   // and so does GetTimeStamp
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Hive.h"
#include "platform/HiveUtility.h"
#include "platform/SystemUtility.h"

namespace dks {

class FakeUtility : public SystemUtility {
 public:
  /// DeleteFile goes to `fileSystem` when one is given; without one it only records the path
  /// and succeeds.
  explicit FakeUtility(std::shared_ptr<FileSystem> fileSystem = nullptr);

  /// The text GetTimeStamp gives.
  std::string stamp = "05/12/2026 10:00:00";
  /// GetTimeStamp fails.
  bool failTimeStamp = false;
  /// GetKeyPath fails for these identifiers.
  std::set<int32_t> failingKeyIds;
  /// The operation fails for every path (key, value or file path) that contains this text;
  /// "" fails nothing.
  std::string failReadValue;
  std::string failWriteValue;
  std::string failKeyExists;
  std::string failQueryKeyInfo;
  std::string failEnumKey;
  std::string failDeleteFile;
  /// ReplaceText (ConvertText) fails in every mode and leaves the text as it is.
  bool failReplaceText = false;
  bool failConvertText = false;
  /// The paths passed to DeleteFile, in call order, failed calls included.
  std::vector<std::string> deletedFiles;

  /// The hive behind the registry operations.
  Hive& hive() { return *hive_; }
  /// Stores a value directly (an int32_t as an integer, a text as text), creating keys.
  void setValue(std::string_view keyPath, std::string_view name, const Variant& value);
  /// The stored value, or nullopt when there is none.
  std::optional<Variant> value(std::string_view keyPath, std::string_view name);

  bool GetTimeStamp(std::string& stampText) override;
  bool DeleteFile(const std::string& path, bool force) override;
  bool EnumKey(uint32_t root, const std::string& keyPath, int32_t index, std::string& name,
               int32_t nameLimit, std::string& className, std::string& lastWrite,
               int32_t reserved) override;
  bool KeyExists(uint32_t root, const std::string& keyPath, bool& exists) override;
  bool GetKeyPath(int32_t keyId, std::string& keyPath) override;
  bool QueryKeyInfo(uint32_t root, const std::string& keyPath, std::string& className,
                    int32_t& classLength, int32_t& subKeys, int32_t& longestSubKey,
                    int32_t& longestClass, int32_t& values, int32_t& longestValueName,
                    int32_t& longestValue, std::string& lastWrite) override;
  bool ReadValue(uint32_t root, const std::string& valuePath, const Variant& defaultValue,
                 Variant& value) override;
  bool WriteValue(uint32_t root, const std::string& valuePath, const Variant& value,
                  int32_t valueType) override;
  bool ReplaceText(std::string& text, const std::string& find, const std::string& replacement,
                   int32_t mode) override;
  bool ConvertText(std::string& text, int32_t mode) override;

 private:
  std::shared_ptr<Hive> hive_;
  std::shared_ptr<FileSystem> fileSystem_;
  HiveUtility real_;
};

}  // namespace dks
