#include "platform/HiveUtility.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/TimeText.h"

namespace dks {
namespace {

constexpr int32_t kReplaceAll = 0;
constexpr int32_t kRepairUtf8 = 4;
constexpr int32_t kRemoveXmlInvalid = 5;
constexpr int32_t kOutgoing = 0;
constexpr int32_t kIncoming = 1;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Runs the body of an operation: any failure becomes False.
template <class Body>
bool guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return false;
  }
}

template <class Body>
bool guarded(uint32_t root, Body&& body) noexcept {
  return root == HKEY_CURRENT_USER && guarded(body);
}

// Characters (code points) of a UTF-8 text: every byte that does not continue a sequence.
int32_t characterCount(std::string_view text) {
  auto count = std::count_if(text.begin(), text.end(),
                             [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  return static_cast<int32_t>(count);
}

// A value path is the key path and the value name, split at the last backslash.
struct ValuePath {
  std::string_view key;
  std::string_view name;
};

ValuePath splitValuePath(std::string_view path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {"", path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string result;
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::string_view::npos; from = at + find.size()) {
    result.append(text.substr(from, at - from));
    result.append(replacement);
  }
  result.append(text.substr(from));
  return result;
}

std::string lastWriteText(Hive& hive, std::string_view keyPath) {
  std::optional<std::time_t> written = hive.lastWrite(keyPath);
  if (!written) throw Failure::pathNotFound();
  return timeText(*written);
}

}  // namespace

const std::vector<std::pair<int32_t, std::string>>& registryKeyPaths() {
  static const std::vector<std::pair<int32_t, std::string>> paths = {
      {kSharedSettingsKey, "Software\\DKS\\Settings"},
      {kApplicationKey, "Software\\DKS\\Reconciler"},
      {kDeleteActionKey, "Software\\DKS\\Reconciler\\Actions\\Delete"},
      {kExclusionListKey, "Software\\DKS\\Reconciler\\Exclude"},
      {kIncludeListKey, "Software\\DKS\\Reconciler\\Include"},
      {kMoveActionKey, "Software\\DKS\\Reconciler\\Actions\\Move"},
      {kUpdateActionKey, "Software\\DKS\\Reconciler\\Actions\\Update"},
      {kSaveActionKey, "Software\\DKS\\Reconciler\\Actions\\Save"},
  };
  return paths;
}

HiveUtility::HiveUtility(std::shared_ptr<Hive> hive, std::shared_ptr<FileSystem> fileSystem)
    : hive_(std::move(hive)), fileSystem_(std::move(fileSystem)) {}

bool HiveUtility::GetTimeStamp(std::string& stamp) {
  return guarded([&] {
    stamp = timeText(std::time(nullptr));
    return true;
  });
}

bool HiveUtility::DeleteFile(const std::string& path, bool) {
  return guarded([&] { return fileSystem_ && fileSystem_->DeleteFile(path); });
}

bool HiveUtility::EnumKey(uint32_t root, const std::string& keyPath, int32_t index,
                          std::string& name, int32_t nameLimit, std::string& className,
                          std::string& lastWrite, int32_t) {
  return guarded(root, [&] {
    std::vector<std::string> names = hive_->subKeys(keyPath);
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return false;
    const std::string& found = names[static_cast<size_t>(index)];
    if (characterCount(found) > nameLimit) return false;
    lastWrite = lastWriteText(*hive_, keyPath + "\\" + found);
    name = found;
    className.clear();
    return true;
  });
}

bool HiveUtility::KeyExists(uint32_t root, const std::string& keyPath, bool& exists) {
  return guarded(root, [&] {
    exists = hive_->keyExists(keyPath);
    return true;
  });
}

bool HiveUtility::GetKeyPath(int32_t keyId, std::string& keyPath) {
  for (const auto& [id, path] : registryKeyPaths()) {
    if (id != keyId) continue;
    keyPath = path;
    return true;
  }
  return false;
}

bool HiveUtility::QueryKeyInfo(uint32_t root, const std::string& keyPath, std::string& className,
                               int32_t& classLength, int32_t& subKeys, int32_t& longestSubKey,
                               int32_t& longestClass, int32_t& values, int32_t& longestValueName,
                               int32_t& longestValue, std::string& lastWrite) {
  return guarded(root, [&] {
    std::string written = lastWriteText(*hive_, keyPath);
    std::vector<std::string> names = hive_->subKeys(keyPath);
    std::vector<HiveValue> stored = hive_->values(keyPath);
    int32_t longestName = 0, longestValueNameFound = 0, longestValueFound = 0;
    for (const std::string& name : names) longestName = std::max(longestName, characterCount(name));
    for (const HiveValue& value : stored) {
      longestValueNameFound = std::max(longestValueNameFound, characterCount(value.name));
      int32_t length = std::holds_alternative<int32_t>(value.value)
                           ? 4
                           : characterCount(std::get<std::string>(value.value));
      longestValueFound = std::max(longestValueFound, length);
    }
    className.clear();
    classLength = 0;
    subKeys = static_cast<int32_t>(names.size());
    longestSubKey = longestName;
    longestClass = 0;
    values = static_cast<int32_t>(stored.size());
    longestValueName = longestValueNameFound;
    longestValue = longestValueFound;
    lastWrite = written;
    return true;
  });
}

bool HiveUtility::ReadValue(uint32_t root, const std::string& valuePath,
                            const Variant& defaultValue, Variant& value) {
  return guarded(root, [&] {
    ValuePath path = splitValuePath(valuePath);
    value = hive_->readValue(path.key, path.name).value_or(defaultValue);
    return true;
  });
}

bool HiveUtility::WriteValue(uint32_t root, const std::string& valuePath, const Variant& value,
                             int32_t valueType) {
  return guarded(root, [&] {
    ValuePath path = splitValuePath(valuePath);
    if (valueType == kValueText)
      hive_->writeValue(path.key, path.name, toText(value));
    else if (valueType == kValueInteger)
      hive_->writeValue(path.key, path.name, toLong(value));
    else
      return false;
    return true;
  });
}

bool HiveUtility::ReplaceText(std::string& text, const std::string& find,
                              const std::string& replacement, int32_t mode) {
  return guarded([&] {
    if (mode == kReplaceAll)
      text = replaceAll(text, find, replacement);
    else if (mode == kRepairUtf8)
      text = repairUtf8(text);
    else if (mode == kRemoveXmlInvalid)
      text = removeXmlInvalidCharacters(text);
    else
      return false;
    return true;
  });
}

bool HiveUtility::ConvertText(std::string& text, int32_t mode) {
  return guarded([&] {
    if (mode == kOutgoing) return true;
    if (mode != kIncoming) return false;
    std::string_view received = text;
    if (received.starts_with(kUtf8ByteOrderMark)) received.remove_prefix(kUtf8ByteOrderMark.size());
    text = isValidUtf8(received) ? std::string(received) : repairUtf8(received);
    return true;
  });
}

}  // namespace dks
