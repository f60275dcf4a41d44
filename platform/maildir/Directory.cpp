#include "platform/maildir/Directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "platform/Failure.h"

namespace dks {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

EntryKind kindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return EntryKind::kFile;
  if (S_ISDIR(info.st_mode)) return EntryKind::kFolder;
  return EntryKind::kOther;
}

}  // namespace

bool listDirectory(const std::string& path,
                   const std::function<void(std::string_view name, EntryKind kind)>& visit) {
  std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(path.c_str()));
  if (!directory) {
    if (errno == ENOENT || errno == ENOTDIR) return false;
    throw Failure::fromErrno(errno);
  }
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(directory.get());
    if (entry == nullptr) break;
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    EntryKind kind = EntryKind::kOther;
    if (entry->d_type == DT_REG) {
      kind = EntryKind::kFile;
    } else if (entry->d_type == DT_DIR) {
      kind = EntryKind::kFolder;
    } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat info;
      if (::fstatat(::dirfd(directory.get()), entry->d_name, &info, 0) == 0) kind = kindOf(info);
    }
    visit(name, kind);
  }
  if (errno != 0) throw Failure::fromErrno(errno);
  return true;
}

bool isDirectory(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace dks
