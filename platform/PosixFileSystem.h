// The file-system object on a POSIX system. Path lookup ignores letter case where the exact
// name does not exist, so settings paths written for a case-blind file system still work.
#pragma once

#include "platform/FileSystem.h"

namespace dks {

class PosixFileSystem : public FileSystem {
 public:
  /// "\" and "/" both separate; a leading separator makes the path absolute, otherwise it is
  /// relative to the working directory (and stays relative). Repeated separators collapse and
  /// "." components are dropped; ".." is kept and means the parent of what precedes it. When
  /// the path as written exists no folder is read; otherwise each component is the exact name
  /// when it exists, else the single entry equal to it ignoring case; from the first component
  /// that is neither (missing, or several entries differing only in case) the rest is used as
  /// written. The result uses "/".
  std::string ResolvePath(std::string_view path) const override;

  bool FileExists(std::string_view path) const override;

  /// The file gets mode 0644 (less the umask). Failures as FileSystem states; a folder missing
  /// on the way gives 76, other refusals follow Failure::fromErrno.
  std::unique_ptr<TextStream> CreateTextFile(std::string_view path, bool overwrite) override;

  /// Throws Failure 53 when there is no file at `path`, 76 when its folder is missing.
  std::unique_ptr<TextStream> OpenTextFileForAppending(std::string_view path) override;

  /// True when nothing is at `path` afterwards, also when nothing ever was; False when the
  /// entry could not be removed (for example it is a folder or access is refused).
  bool DeleteFile(std::string_view path) override;
};

}  // namespace dks
