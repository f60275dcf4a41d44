// FakeUtility: the utility component for tests. It is the real HiveUtility over a private
// in-memory hive that a test can seed and inspect, with switches that turn single operations to
// failure:
//
//   FakeUtility utility(std::make_shared<PosixFileSystem>());
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

namespace dks {

class FakeUtility : public HiveUtility {
 public:
  /// DeleteFile goes to `fileSystem`.
  explicit FakeUtility(std::shared_ptr<FileSystem> fileSystem);

  /// The text GetTimeStamp gives.
  std::string stamp = "05/12/2026 10:00:00";
  /// GetTimeStamp fails.
  bool failTimeStamp = false;
  /// GetKeyPath fails for these identifiers.
  std::set<int32_t> failingKeyIds;
  /// The operation fails for every key or value path that contains this text; "" fails nothing.
  std::string failReadValue;
  std::string failKeyExists;
  /// ReplaceText (ConvertText) fails in every mode and leaves the text as it is.
  bool failReplaceText = false;
  bool failConvertText = false;
  /// The paths passed to DeleteFile, in call order.
  std::vector<std::string> deletedFiles;

  /// The hive behind the registry operations.
  Hive& hive() { return *hive_; }
  /// Stores a value directly (an int32_t as an integer, a text as text), creating keys.
  void setValue(std::string_view keyPath, std::string_view name, const Variant& value);
  /// The stored value, or nullopt when there is none.
  std::optional<Variant> value(std::string_view keyPath, std::string_view name);

  bool GetTimeStamp(std::string& stampText) override;
  bool DeleteFile(const std::string& path, bool force) override;
  bool KeyExists(uint32_t root, const std::string& keyPath, bool& exists) override;
  bool GetKeyPath(int32_t keyId, std::string& keyPath) override;
  bool ReadValue(uint32_t root, const std::string& valuePath, const Variant& defaultValue,
                 Variant& value) override;
  bool ReplaceText(std::string& text, const std::string& find, const std::string& replacement,
                   int32_t mode) override;
  bool ConvertText(std::string& text, int32_t mode) override;

 private:
  FakeUtility(std::shared_ptr<Hive> hive, std::shared_ptr<FileSystem> fileSystem);

  std::shared_ptr<Hive> hive_;
};

}  // namespace dks
