// The lock that tells whether another instance of the program runs on the same settings hive.
#pragma once

#include <memory>
#include <string>

namespace dks {

/// An exclusive lock on the file beside a hive (the hive's path + ".lock"), held for the life of
/// the object. Locks of different hives never block each other.
class InstanceLock {
 public:
  /// Takes the lock of the hive at `hivePath`, creating its folder (0700) and the lock file
  /// (0600) when missing. Returns the held lock, or nullptr when another process, or another
  /// InstanceLock of this one, holds it. Throws Failure (Failure::fromErrno) for any other
  /// failure, for example a folder that cannot be created.
  static std::unique_ptr<InstanceLock> acquire(const std::string& hivePath);

  /// Releases the lock.
  ~InstanceLock();

  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}

  int fd_;
};

}  // namespace dks
