// Reading the folders of a Maildir store: what a directory holds, symbolic links followed.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dks {

enum class EntryKind { kFile, kFolder, kOther };

/// Calls `visit` with the name and kind of every entry of the directory `path` except "." and
/// "..", in the order the file system gives them; a symbolic link counts as what it points to
/// (kOther when that is missing). False, without a call, when there is no directory at `path`.
/// Throws Failure (Failure::fromErrno) when the directory cannot be read.
bool listDirectory(const std::string& path,
                   const std::function<void(std::string_view name, EntryKind kind)>& visit);

/// True when `path` is a directory (or a symbolic link to one).
bool isDirectory(const std::string& path);

}  // namespace dks
