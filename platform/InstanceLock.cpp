#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Failure.h"
#include "platform/Folders.h"

namespace dks {
namespace {

int openLockFile(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    int error = errno;
    throw Failure::fromErrno(error, /*parentMissing=*/error == ENOENT || error == ENOTDIR);
  }
  return fd;
}

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::string& hivePath) {
  const std::string path = hivePath + ".lock";
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) createFolders(path.substr(0, slash), 0700);

  int fd = openLockFile(path);
  // flock belongs to the open file, so a second open in this process is refused as well, and
  // the lock goes with the process however it ends.
  int result;
  do {
    result = flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return std::unique_ptr<InstanceLock>(new InstanceLock(fd));

  int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) return nullptr;
  throw Failure::fromErrno(error);
}

InstanceLock::~InstanceLock() {
  ::close(fd_);
}

}  // namespace dks
