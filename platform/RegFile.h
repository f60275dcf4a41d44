// Import and export of Windows registry files (.reg) against the hive, so that settings
// exported from a Windows registry can be brought over and the hive can be saved as text.
//
// Read: "REGEDIT4" (8-bit: UTF-8 where the bytes are UTF-8, else Windows-1252) and
// "Windows Registry Editor Version 5.00" (UTF-16LE with byte-order mark, or UTF-8 with or
// without one). Only keys of HKEY_CURRENT_USER (or HKCU): [KEY] creates a key, [-KEY] deletes
// it with its sub-keys; "name"="text" (escapes \\ and \"), "name"=dword:hex, "name"=hex(1):
// bytes (text in UTF-16LE), "name"=- deletes a value; @ is the value without name. Blank lines
// and lines starting with ";" are skipped.
//
// Written: version 5 in UTF-16LE with byte-order mark and CR LF line ends; a text holding a
// line break is written as hex(1), so that every hive can be read back as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Hive.h"

namespace dks {

/// The key path below the current user's hive that `fullPath` names: what follows
/// "HKEY_CURRENT_USER\" or "HKCU\" (in any case), "" for the root name alone. nullopt when the
/// path starts with another name.
std::optional<std::string> currentUserKeyPath(std::string_view fullPath);

/// Applies the registry file `bytes` to `hive` as one transaction. When the file is refused,
/// returns false with "line N: reason" in *err and leaves the hive unchanged. Throws Failure
/// when the hive fails.
bool importRegText(Hive& hive, std::string_view bytes, std::string* err);

/// importRegText on the file at `path`. A file that cannot be read gives false and the
/// system's reason in *err.
bool importRegFile(Hive& hive, const std::string& path, std::string* err);

/// The registry file (version 5, UTF-16LE) of the key and its sub-keys, parents before their
/// sub-keys; "" exports the whole hive. A key that does not exist gives the header alone.
/// Throws Failure when the hive fails.
std::string exportRegText(Hive& hive, std::string_view keyPath);

/// Writes exportRegText to the file at `path`, replacing it. False with the system's reason in
/// *err when the file cannot be written.
bool exportRegFile(Hive& hive, std::string_view keyPath, const std::string& path, std::string* err);

}  // namespace dks
