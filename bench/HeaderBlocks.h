// HeaderBlocks: the floor of reading a Maildir, the least any reader of its messages must do.
#pragma once

#include <cstdint>
#include <string>

namespace dks {

/// Reads the header block of every message below `root`: every file not starting with "." in a
/// directory named cur or new, opened, read up to and including the first empty line (LF LF or
/// LF CR LF) and closed; tmp/ directories are skipped. Returns the number of messages read, or
/// -1 when a directory cannot be listed or a message cannot be opened or read.
int64_t readHeaderBlocks(const std::string& root);

}  // namespace dks
