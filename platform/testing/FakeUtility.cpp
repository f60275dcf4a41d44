#include "platform/testing/FakeUtility.h"

namespace dks {
namespace {

bool matches(const std::string& path, const std::string& failing) {
  return !failing.empty() && path.find(failing) != std::string::npos;
}

}  // namespace

FakeUtility::FakeUtility(std::shared_ptr<FileSystem> fileSystem)
    : hive_(Hive::open(":memory:")), fileSystem_(fileSystem), real_(hive_, fileSystem) {}

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
  if (matches(path, failDeleteFile)) return false;
  return !fileSystem_ || real_.DeleteFile(path, force);
}

bool FakeUtility::EnumKey(uint32_t root, const std::string& keyPath, int32_t index,
                          std::string& name, int32_t nameLimit, std::string& className,
                          std::string& lastWrite, int32_t reserved) {
  return !matches(keyPath, failEnumKey) &&
         real_.EnumKey(root, keyPath, index, name, nameLimit, className, lastWrite, reserved);
}

bool FakeUtility::KeyExists(uint32_t root, const std::string& keyPath, bool& exists) {
  return !matches(keyPath, failKeyExists) && real_.KeyExists(root, keyPath, exists);
}

bool FakeUtility::GetKeyPath(int32_t keyId, std::string& keyPath) {
  return !failingKeyIds.contains(keyId) && real_.GetKeyPath(keyId, keyPath);
}

bool FakeUtility::QueryKeyInfo(uint32_t root, const std::string& keyPath, std::string& className,
                               int32_t& classLength, int32_t& subKeys, int32_t& longestSubKey,
                               int32_t& longestClass, int32_t& values, int32_t& longestValueName,
                               int32_t& longestValue, std::string& lastWrite) {
  return !matches(keyPath, failQueryKeyInfo) &&
         real_.QueryKeyInfo(root, keyPath, className, classLength, subKeys, longestSubKey,
                            longestClass, values, longestValueName, longestValue, lastWrite);
}

bool FakeUtility::ReadValue(uint32_t root, const std::string& valuePath,
                            const Variant& defaultValue, Variant& value) {
  return !matches(valuePath, failReadValue) &&
         real_.ReadValue(root, valuePath, defaultValue, value);
}

bool FakeUtility::WriteValue(uint32_t root, const std::string& valuePath, const Variant& value,
                             int32_t valueType) {
  return !matches(valuePath, failWriteValue) && real_.WriteValue(root, valuePath, value, valueType);
}

bool FakeUtility::ReplaceText(std::string& text, const std::string& find,
                              const std::string& replacement, int32_t mode) {
  return !failReplaceText && real_.ReplaceText(text, find, replacement, mode);
}

bool FakeUtility::ConvertText(std::string& text, int32_t mode) {
  return !failConvertText && real_.ConvertText(text, mode);
}

}  // namespace dks
