#include "platform/testing/FakeUtility.h"

namespace dks {
namespace {

bool matches(const std::string& path, const std::string& failing) {
  return !failing.empty() && path.find(failing) != std::string::npos;
}

}  // namespace

FakeUtility::FakeUtility(std::shared_ptr<FileSystem> fileSystem)
    : FakeUtility(Hive::open(":memory:"), std::move(fileSystem)) {}

FakeUtility::FakeUtility(std::shared_ptr<Hive> hive, std::shared_ptr<FileSystem> fileSystem)
    : HiveUtility(hive, std::move(fileSystem)), hive_(std::move(hive)) {}

void FakeUtility::setValue(std::string_view keyPath, std::string_view name, const Variant& value) {
  hive_->writeValue(keyPath, name, value);
}

std::optional<Variant> FakeUtility::value(std::string_view keyPath, std::string_view name) {
  return hive_->readValue(keyPath, name);
}

bool FakeUtility::GetTimeStamp(std::string& stampText) {
  if (failTimeStamp) return false;
  stampText = stamp;
  return true;
}

bool FakeUtility::DeleteFile(const std::string& path, bool force) {
  deletedFiles.push_back(path);
  return HiveUtility::DeleteFile(path, force);
}

bool FakeUtility::KeyExists(uint32_t root, const std::string& keyPath, bool& exists) {
  return !matches(keyPath, failKeyExists) && HiveUtility::KeyExists(root, keyPath, exists);
}

bool FakeUtility::GetKeyPath(int32_t keyId, std::string& keyPath) {
  return !failingKeyIds.contains(keyId) && HiveUtility::GetKeyPath(keyId, keyPath);
}

bool FakeUtility::ReadValue(uint32_t root, const std::string& valuePath,
                            const Variant& defaultValue, Variant& value) {
  return !matches(valuePath, failReadValue) &&
         HiveUtility::ReadValue(root, valuePath, defaultValue, value);
}

bool FakeUtility::ReplaceText(std::string& text, const std::string& find,
                              const std::string& replacement, int32_t mode) {
  return !failReplaceText && HiveUtility::ReplaceText(text, find, replacement, mode);
}

bool FakeUtility::ConvertText(std::string& text, int32_t mode) {
  return !failConvertText && HiveUtility::ConvertText(text, mode);
}

}  // namespace dks
