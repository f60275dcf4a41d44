#include "platform/Failure.h"

#include <cerrno>

namespace dks {

Failure Failure::fromErrno(int error, bool parentMissing) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return parentMissing ? pathNotFound() : fileNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
      return permissionDenied();
    case EEXIST:
      return fileAlreadyExists();
    case ENOSPC:
    case EDQUOT:
      return diskFull();
    case ENOMEM:
      return outOfMemory();
    default:
      return pathFileAccessError();
  }
}

}  // namespace dks
