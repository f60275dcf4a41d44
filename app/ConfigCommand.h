// The `config` sub-command: reads and writes the settings hive from the command line, and
// imports and exports registry files.
//
// A KEYPATH may begin with "HKEY_CURRENT_USER\" or "HKCU\", which is dropped; a path that
// begins with another root is refused. Each command function below returns the exit status
// (0 done, 1 refused or failed) and reports a refusal as one line "dks-reconciler: ..." on
// `err`. A failing hive throws Failure out of them (see Hive).
#pragma once

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Hive.h"

namespace CLI {
class App;
}

namespace dks {

/// Registers `config` and its sub-commands on `app`. The sub-command that runs opens the hive
/// at hivePathFromEnvironment() when it needs it, writes to `out` and `err`, and stores its
/// exit status in `exitStatus`; a hive that fails prints its failure and gives 1.
void addConfigCommand(CLI::App& app, int& exitStatus, std::ostream& out = std::cout,
                      std::ostream& err = std::cerr);

/// `config keys`: one line "ID<TAB>KEYPATH" per key identifier, ascending.
int configKeys(std::ostream& out);

/// `config get`: the value on a line of its own (an integer in decimal); 1 when not stored.
int configGet(Hive& hive, std::string_view keyPath, std::string_view name, std::ostream& out,
              std::ostream& err);

/// `config set`: stores `value` as text, or as an integer when `integer` (1 when it is not a
/// 32-bit decimal number).
int configSet(Hive& hive, std::string_view keyPath, std::string_view name, std::string_view value,
              bool integer, std::ostream& err);

/// `config delete`: removes the value `name`, or without a name the key with its sub-keys;
/// 1 when there is no such value or key, or for the root.
int configDelete(Hive& hive, std::string_view keyPath, const std::optional<std::string>& name,
                 std::ostream& err);

/// `config list`: the key and its sub-keys, each full key path on a line of its own followed
/// by its values, indented: `Name (text) = "value"` or `Name (integer) = 3`. 1 for a key that
/// does not exist.
int configList(Hive& hive, std::string_view keyPath, std::ostream& out, std::ostream& err);

/// `config import`: applies the registry file at `file`; a refused file prints
/// "dks-reconciler: FILE: line N: reason", gives 1 and leaves the hive unchanged.
int configImport(Hive& hive, const std::string& file, std::ostream& err);

/// `config export`: the registry file of the key (version 5, UTF-16LE) to `file`, or to `out`
/// without one. 1 for a key that does not exist or a file that cannot be written.
int configExport(Hive& hive, std::string_view keyPath, const std::optional<std::string>& file,
                 std::ostream& out, std::ostream& err);

}  // namespace dks
