#include "app/ConfigCommand.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/CommandLine.h"
#include "platform/Failure.h"
#include "platform/HiveUtility.h"
#include "platform/RegFile.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kRootName = "HKEY_CURRENT_USER";

int refuse(std::ostream& err, std::string_view message) {
  printError(err, message);
  return 1;
}

bool namesAnotherRoot(std::string_view keyPath) {
  std::string_view first = keyPath.substr(0, keyPath.find('\\'));
  if (first.size() >= 5 && equalsIgnoreCase(first.substr(0, 5), "HKEY_")) return true;
  for (const char* root : {"HKLM", "HKCR", "HKU", "HKCC"})
    if (equalsIgnoreCase(first, root)) return true;
  return false;
}

// The key path below the hive's root that a KEYPATH argument names; nullopt (with the
// refusal printed) for another root.
std::optional<std::string> hiveKeyPath(std::string_view argument, std::ostream& err) {
  if (std::optional<std::string> path = currentUserKeyPath(argument)) return path;
  if (!namesAnotherRoot(argument)) return std::string(argument);
  refuse(err, "only HKEY_CURRENT_USER keys are kept, not '" + std::string(argument) + "'");
  return std::nullopt;
}

std::string fullPath(const std::string& keyPath) {
  return keyPath.empty() ? kRootName : std::string(kRootName) + "\\" + keyPath;
}

// A text for a person: in quotation marks, with control characters escaped so that every
// value stays on its line.
std::string displayText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void listKey(Hive& hive, const std::string& keyPath, std::ostream& out) {
  out << fullPath(keyPath) << "\n";
  for (const HiveValue& value : hive.values(keyPath)) {
    out << "  " << (value.name.empty() ? "(Default)" : value.name);
    if (const auto* number = std::get_if<int32_t>(&value.value))
      out << " (integer) = " << *number << "\n";
    else
      out << " (text) = " << displayText(std::get<std::string>(value.value)) << "\n";
  }
  for (const std::string& name : hive.subKeys(keyPath))
    listKey(hive, keyPath.empty() ? name : keyPath + "\\" + name, out);
}

std::optional<int32_t> decimalInteger(std::string_view text) {
  int32_t number = 0;
  if (text.starts_with('+')) text.remove_prefix(1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// Opens the hive and runs `command` on it; a failing hive is reported as the command's
// refusal, since this is the top of the command line.
int runWithHive(std::ostream& err, const std::function<int(Hive&)>& command) {
  try {
    std::shared_ptr<Hive> hive = Hive::open(hivePathFromEnvironment());
    return command(*hive);
  } catch (const Failure& failure) {
    return refuse(err, failure.description());
  }
}

// The arguments of all config sub-commands; CLI11 fills them before the callback runs.
struct Arguments {
  std::string keyPath;
  std::string name;
  std::string value;
  std::string file;
  bool integer = false;
  CLI::Option* nameOption = nullptr;
  CLI::Option* fileOption = nullptr;

  std::optional<std::string> optionalName() const {
    return nameOption->count() > 0 ? std::optional(name) : std::nullopt;
  }
  std::optional<std::string> optionalFile() const {
    return fileOption->count() > 0 ? std::optional(file) : std::nullopt;
  }
};

}  // namespace

int configKeys(std::ostream& out) {
  for (const auto& [id, keyPath] : registryKeyPaths()) out << id << "\t" << keyPath << "\n";
  return 0;
}

int configGet(Hive& hive, std::string_view keyPath, std::string_view name, std::ostream& out,
              std::ostream& err) {
  std::optional<std::string> path = hiveKeyPath(keyPath, err);
  if (!path) return 1;
  std::optional<Variant> value = hive.readValue(*path, name);
  if (!value) return refuse(err, "no value '" + std::string(name) + "' in " + fullPath(*path));
  out << toText(*value) << "\n";
  return 0;
}

int configSet(Hive& hive, std::string_view keyPath, std::string_view name, std::string_view value,
              bool integer, std::ostream& err) {
  std::optional<std::string> path = hiveKeyPath(keyPath, err);
  if (!path) return 1;
  if (!integer) {
    hive.writeValue(*path, name, std::string(value));
    return 0;
  }
  std::optional<int32_t> number = decimalInteger(value);
  if (!number) return refuse(err, "'" + std::string(value) + "' is not a 32-bit integer");
  hive.writeValue(*path, name, *number);
  return 0;
}

int configDelete(Hive& hive, std::string_view keyPath, const std::optional<std::string>& name,
                 std::ostream& err) {
  std::optional<std::string> path = hiveKeyPath(keyPath, err);
  if (!path) return 1;
  if (name) {
    if (hive.deleteValue(*path, *name)) return 0;
    return refuse(err, "no value '" + *name + "' in " + fullPath(*path));
  }
  if (path->find_first_not_of('\\') == std::string::npos)
    return refuse(err, "the root of the hive cannot be deleted");
  if (!hive.deleteKey(*path)) return refuse(err, "no key " + fullPath(*path));
  return 0;
}

int configList(Hive& hive, std::string_view keyPath, std::ostream& out, std::ostream& err) {
  std::optional<std::string> path = hiveKeyPath(keyPath, err);
  if (!path) return 1;
  std::optional<std::string> stored = hive.storedPath(*path);
  if (!stored) return refuse(err, "no key " + fullPath(*path));
  listKey(hive, *stored, out);
  return 0;
}

int configImport(Hive& hive, const std::string& file, std::ostream& err) {
  std::string reason;
  if (importRegFile(hive, file, &reason)) return 0;
  return refuse(err, file + ": " + reason);
}

int configExport(Hive& hive, std::string_view keyPath, const std::optional<std::string>& file,
                 std::ostream& out, std::ostream& err) {
  std::optional<std::string> path = hiveKeyPath(keyPath, err);
  if (!path) return 1;
  if (!hive.keyExists(*path)) return refuse(err, "no key " + fullPath(*path));
  if (!file) {
    out << exportRegText(hive, *path);
    return 0;
  }
  std::string reason;
  if (exportRegFile(hive, *path, *file, &reason)) return 0;
  return refuse(err, *file + ": " + reason);
}

void addConfigCommand(CLI::App& app, int& exitStatus, std::ostream& out, std::ostream& err) {
  auto args = std::make_shared<Arguments>();
  auto withHive = [&exitStatus, &err](std::function<int(Hive&)> command) {
    return [&exitStatus, &err, command] { exitStatus = runWithHive(err, command); };
  };
  CLI::App* config = app.add_subcommand("config", "Read and write the settings hive");
  config->require_subcommand(1);

  config->add_subcommand("keys", "List the key identifiers with their key paths")
      ->callback([&exitStatus, &out] { exitStatus = configKeys(out); });

  CLI::App* get = config->add_subcommand("get", "Print a value");
  get->add_option("KEYPATH", args->keyPath, "Key path")->required();
  get->add_option("NAME", args->name, "Value name")->required();
  get->callback(withHive([args, &out, &err](Hive& hive) {
    return configGet(hive, args->keyPath, args->name, out, err);
  }));

  CLI::App* set = config->add_subcommand("set", "Store a value, creating missing keys");
  set->add_option("KEYPATH", args->keyPath, "Key path")->required();
  set->add_option("NAME", args->name, "Value name")->required();
  set->add_option("VALUE", args->value, "Value")->required();
  set->add_flag("--integer", args->integer, "Store a 32-bit integer instead of text");
  set->callback(withHive([args, &err](Hive& hive) {
    return configSet(hive, args->keyPath, args->name, args->value, args->integer, err);
  }));

  CLI::App* remove = config->add_subcommand("delete", "Delete a value, or a key with its sub-keys");
  remove->add_option("KEYPATH", args->keyPath, "Key path")->required();
  args->nameOption = remove->add_option("NAME", args->name, "Value name");
  remove->callback(withHive([args, &err](Hive& hive) {
    return configDelete(hive, args->keyPath, args->optionalName(), err);
  }));

  CLI::App* list = config->add_subcommand("list", "Show a key with its sub-keys and values");
  list->add_option("KEYPATH", args->keyPath, "Key path (default: the whole hive)");
  list->callback(withHive(
      [args, &out, &err](Hive& hive) { return configList(hive, args->keyPath, out, err); }));

  CLI::App* import = config->add_subcommand("import", "Apply a registry (.reg) file");
  import->add_option("FILE", args->file, "REGEDIT4 or version 5 registry file")->required();
  import->callback(
      withHive([args, &err](Hive& hive) { return configImport(hive, args->file, err);
}));

CLI::App* exporter = config->add_subcommand("export", "Write a key as a registry file");
exporter->add_option("KEYPATH", args->keyPath, "Key path (default: the whole hive)");
args->fileOption = exporter->add_option("-o,--output", args->file, "File (default: stdout)");
exporter->callback(withHive([args, &out, &err](Hive& hive) {
  return configExport(hive, args->keyPath, args->optionalFile(), out, err);
}));
}  // namespace dks

}  // namespace dks
