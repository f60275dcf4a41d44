// Creating the program's own folders.
#pragma once

#include <sys/types.h>

#include <string>

namespace dks {

/// Creates the folder `path` and any missing folder above it, each with `mode` (less the
/// umask); folders that exist are left as they are. Throws Failure (Failure::fromErrno) when a
/// folder cannot be created, 76 "Path not found" when a file stands where a folder should be.
void createFolders(const std::string& path, mode_t mode);

}  // namespace dks
