#include "platform/maildir/MaildirSettings.h"

#include "platform/Failure.h"
#include "platform/HiveUtility.h"
#include "platform/Text.h"

namespace dks {
namespace {

std::string variable(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment(name);
  return value ? value : "";
}

// The text value `name` of the platform's key, trimmed; "" when it is missing or no text.
std::string platformText(Hive& hive, const char* name) {
  std::optional<Variant> value = hive.readValue(kPlatformKeyPath, name);
  const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
  return text ? trimSpaces(*text) : std::string();
}

std::vector<std::string> splitNames(const std::string& list) {
  std::vector<std::string> names;
  for (size_t start = 0; start <= list.size();) {
    size_t end = std::min(list.find(';', start), list.size());
    std::string name = trimSpaces(list.substr(start, end - start));
    if (!name.empty()) names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

}  // namespace

MaildirSettings readMaildirSettings(Hive* hive, const EnvironmentLookup& environment) {
  MaildirSettings settings;
  settings.root = variable(environment, "MAILDIR");
  // Without MAILDIR and without a home folder the root stays "", which opens no store.
  if (settings.root.empty()) {
    try {
      settings.root = homeFolder(environment) + "/Maildir";
    } catch (const Failure&) {
    }
  }
  if (hive == nullptr) return settings;
  std::string storeName = platformText(*hive, "StoreName");
  if (!storeName.empty()) settings.storeName = storeName;
  std::vector<std::string> sentFolderNames = splitNames(platformText(*hive, "SentFolders"));
  if (!sentFolderNames.empty()) settings.sentFolderNames = std::move(sentFolderNames);
  return settings;
}

MaildirSettings readMaildirSettings(Hive* hive) {
  return readMaildirSettings(hive, processEnvironment);
}

}  // namespace dks
