#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

struct SplitPath {
  bool absolute = false;
  std::vector<std::string_view> components;  // without empty and "." components
};

SplitPath splitPath(std::string_view path) {
  SplitPath split;
  split.absolute = !path.empty() && isSeparator(path.front());
  size_t pos = 0;
  while (pos < path.size()) {
    size_t end = pos;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    std::string_view component = path.substr(pos, end - pos);
    if (!component.empty() && component != ".") split.components.push_back(component);
    pos = end + 1;
  }
  return split;
}

/// `folder` + "/" + `name`, where the folder "" is the working directory.
std::string childPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool entryExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool isFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/// The one entry of `folder` whose name equals `name` ignoring case; nothing when there is no
/// such entry, when there are several, or when the folder cannot be read.
std::optional<std::string> caseBlindEntry(const std::string& folder, std::string_view name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> match;
  bool ambiguous = false;
  while (const dirent* entry = readdir(dir)) {
    std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == ".." || !equalsIgnoreCase(entryName, name)) continue;
    if (match) {
      ambiguous = true;
      break;
    }
    match = std::string(entryName);
  }
  closedir(dir);
  return ambiguous ? std::nullopt : match;
}

/// An open file; every call goes straight to write(2), so nothing waits in a buffer when the
/// process ends at once.
class PosixTextStream : public TextStream {
 public:
  explicit PosixTextStream(int fd) : fd_(fd) {}
  ~PosixTextStream() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixTextStream(const PosixTextStream&) = delete;
  PosixTextStream& operator=(const PosixTextStream&) = delete;

  void Write(std::string_view text) override { writeAll(text); }

  void WriteLine(std::string_view text) override {
    // One write for the line and its end, so that a line is never left without its end.
    std::string line;
    line.reserve(text.size() + 2);
    line.append(text).append("\r\n");
    writeAll(line);
  }

  void Close() override {
    if (fd_ < 0) return;
    int fd = std::exchange(fd_, -1);
    // Linux releases the descriptor even when close reports a failure; EINTR loses nothing.
    if (::close(fd) != 0 && errno != EINTR) throw Failure::fromErrno(errno);
  }

 private:
  void writeAll(std::string_view bytes) {
    if (fd_ < 0) throw Failure::pathFileAccessError();
    while (!bytes.empty()) {
      ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        throw Failure::fromErrno(errno);
      }
      bytes.remove_prefix(static_cast<size_t>(written));
    }
  }

  int fd_;
};

/// Opens the resolved `path` for writing with `flags`. A missing folder on the way gives 76,
/// a missing file 53.
std::unique_ptr<TextStream> openStream(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    int error = errno;
    bool parentMissing = (error == ENOENT || error == ENOTDIR) && !isFolder(folderOf(path));
    throw Failure::fromErrno(error, parentMissing);
  }
  return std::make_unique<PosixTextStream>(fd);
}

}  // namespace

std::string PosixFileSystem::ResolvePath(std::string_view path) const {
  if (path.empty()) return {};
  SplitPath split = splitPath(path);
  const std::string start = split.absolute ? "/" : "";

  std::string asWritten = start;
  for (std::string_view component : split.components) asWritten = childPath(asWritten, component);
  if (asWritten.empty()) return ".";
  if (entryExists(asWritten)) return asWritten;

  std::string resolved = start;
  size_t i = 0;
  for (; i < split.components.size(); ++i) {
    std::string_view component = split.components[i];
    std::string exact = childPath(resolved, component);
    if (component == ".." || entryExists(exact)) {
      resolved = std::move(exact);
      continue;
    }
    std::optional<std::string> entry = caseBlindEntry(resolved, component);
    if (!entry) break;
    resolved = childPath(resolved, *entry);
  }
  for (; i < split.components.size(); ++i) resolved = childPath(resolved, split.components[i]);
  return resolved;
}

bool PosixFileSystem::FileExists(std::string_view path) const {
  struct stat info;
  return stat(ResolvePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::unique_ptr<TextStream> PosixFileSystem::CreateTextFile(std::string_view path, bool overwrite) {
  return openStream(ResolvePath(path), O_CREAT | (overwrite ? O_TRUNC : O_EXCL));
}

std::unique_ptr<TextStream> PosixFileSystem::OpenTextFileForAppending(std::string_view path) {
  return openStream(ResolvePath(path), O_APPEND);
}

bool PosixFileSystem::DeleteFile(std::string_view path) {
  std::string resolved = ResolvePath(path);
  if (unlink(resolved.c_str()) == 0) return true;
  return !entryExists(resolved) && (errno == ENOENT || errno == ENOTDIR);
}

}  // namespace dks
