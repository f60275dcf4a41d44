#include "bench/HeaderBlocks.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace dks {
namespace {

// Reads `path` up to and including the first empty line. False when the file cannot be opened
// or read.
bool readHeaderBlock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  bool atLineStart = true;
  bool ok = true;
  for (bool done = false; !done;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    for (ssize_t i = 0; i < n && !done; ++i) {
      if (buffer[i] == '\n') {
        done = atLineStart;
        atLineStart = true;
      } else if (buffer[i] != '\r') {
        atLineStart = false;
      }
    }
  }
  ::close(fd);
  return ok;
}

bool isDirectory(const std::string& path, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The messages below `dir`; `messageDirectory` when `dir` is a cur/ or new/ directory.
int64_t readBelow(const std::string& dir, bool messageDirectory) {
  DIR* stream = ::opendir(dir.c_str());
  if (stream == nullptr) return -1;
  int64_t count = 0;
  while (const dirent* entry = ::readdir(stream)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "/" + name;
    if (messageDirectory) {
      if (name[0] == '.' || isDirectory(path, *entry)) continue;
      if (!readHeaderBlock(path)) {
        count = -1;
        break;
      }
      ++count;
    } else if (name != "tmp" && isDirectory(path, *entry)) {
      const int64_t below = readBelow(path, name == "cur" || name == "new");
      if (below < 0) {
        count = -1;
        break;
      }
      count += below;
    }
  }
  ::closedir(stream);
  return count;
}

}  // namespace

int64_t readHeaderBlocks(const std::string& root) {
  return readBelow(root, false);
}

}  // namespace dks
