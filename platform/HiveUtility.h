// HiveUtility: the utility component of the program, over the current user's hive and the
// file-system object. Only the root HKEY_CURRENT_USER is accepted; every operation reports a
// failure of its own (another root, a bad argument, a hive that cannot be read or written) as
// False and never throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Hive.h"
#include "platform/SystemUtility.h"

namespace dks {

/// The key identifiers of GetKeyPath with their key paths, ascending by identifier.
const std::vector<std::pair<int32_t, std::string>>& registryKeyPaths();

/// The key that holds the platform's own settings.
inline constexpr const char* kPlatformKeyPath = "Software\\DKS\\Reconciler\\Platform";

class HiveUtility : public SystemUtility {
 public:
  HiveUtility(std::shared_ptr<Hive> hive, std::shared_ptr<FileSystem> fileSystem);

  bool GetTimeStamp(std::string& stamp) override;
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
};

}  // namespace dks
