#include "platform/Folders.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/Failure.h"

namespace dks {
namespace {

bool isFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void createFolders(const std::string& path, mode_t mode) {
  if (path.empty() || isFolder(path)) return;
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) createFolders(path.substr(0, slash), mode);
  if (mkdir(path.c_str(), mode) == 0) return;
  int error = errno;
  if (error == EEXIST) {
    if (isFolder(path)) return;  // made by someone else meanwhile
    error = ENOTDIR;
  }
  throw Failure::fromErrno(error, /*parentMissing=*/true);
}

}  // namespace dks
