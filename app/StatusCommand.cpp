#include "app/StatusCommand.h"

#include <fstream>
#include <sstream>

#include "app/clsApplication.h"
#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr int kErrorLogHeaderLines = 9;

bool readStored(SystemUtility& utility, const std::string& keyPath, const std::string& name,
                std::string& text) {
  Variant value;
  if (!utility.ReadValue(HKEY_CURRENT_USER, keyPath + "\\" + name, Variant{}, value)) return false;
  text = toText(value);
  return true;
}

std::string describeState(const std::string& stored) {
  std::optional<int32_t> state = tryLong(Variant{stored});
  if (stored.empty() || !state) return stored;  // not a number: shown as it stands
  return stored + " (" + stateMemberNames(*state) + ")";
}

std::string describeErrorLog(const std::string& path, const FileSystem& fileSystem) {
  std::string resolved = fileSystem.ResolvePath(path);
  if (!fileSystem.FileExists(resolved)) return resolved + " (no file)";
  std::ifstream file(resolved, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  int records = countErrorRecords(text.str());
  return resolved + " (" + std::to_string(records) + (records == 1 ? " record)" : " records)");
}

}  // namespace

std::string stateMemberNames(int32_t state) {
  static constexpr std::pair<int32_t, const char*> kMembers[] = {{rsDefault, "rsDefault"},
                                                                 {rsUser, "rsUser"},
                                                                 {rsRunning, "rsRunning"},
                                                                 {rsPaused, "rsPaused"}};
  if (state == 0) return "none";
  std::string names;
  auto add = [&names](const std::string& name) { names += (names.empty() ? "" : "+") + name; };
  uint32_t rest = static_cast<uint32_t>(state);
  for (const auto& [bit, name] : kMembers) {
    if ((rest & static_cast<uint32_t>(bit)) == 0) continue;
    add(name);
    rest &= ~static_cast<uint32_t>(bit);
  }
  if (rest != 0) add(std::to_string(rest));
  return names;
}

int countErrorRecords(const std::string& errorLogText) {
  std::istringstream lines(errorLogText);
  std::string line;
  int number = 0;
  int records = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (++number > kErrorLogHeaderLines && !line.empty()) ++records;
  }
  return records;
}

int showStatus(SystemUtility& utility, const ProcessApp& app, const FileSystem& fileSystem,
               std::ostream& out) {
  std::string keyPath, started, finished, state, flags, errorLog;
  if (!utility.GetKeyPath(kApplicationKey, keyPath) ||
      !readStored(utility, keyPath, "Started", started) ||
      !readStored(utility, keyPath, "Finished", finished) ||
      !readStored(utility, keyPath, "State", state) ||
      !readStored(utility, keyPath, "Flags", flags) ||
      !readStored(utility, keyPath, "ErrorLog", errorLog))
    return 1;
  errorLog = trimSpaces(errorLog);
  if (errorLog.empty()) errorLog = defaultErrorLog(app.Path);
  out << "Started\t" << started << "\n"
      << "Finished\t" << finished << "\n"
      << "State\t" << describeState(state) << "\n"
      << "Flags\t" << flags << "\n"
      << "ErrorLog\t" << describeErrorLog(lowerCase(errorLog), fileSystem) << "\n";
  return 0;
}

}  // namespace dks
