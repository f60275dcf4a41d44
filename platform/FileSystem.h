// The file-system object: existence tests and 8-bit text files written byte for byte.
//
// Paths take "\" and "/" alike as separators. Each component resolves against what exists: the
// exact name first, else the one entry that differs from it only in letter case; a missing
// component (or one that matches several entries) is used as written. This keeps lower-cased,
// backslashed settings paths working on a case-sensitive file system.
//
// Abstract so that tests can put a fake in its place.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace dks {

/// An open text file. Each call writes through at once (nothing is held back in a buffer).
/// Every member throws Failure when the system refuses the write.
class TextStream {
 public:
  virtual ~TextStream() = default;
  virtual void Write(std::string_view text) = 0;
  /// Writes `text` and a carriage return and line feed.
  virtual void WriteLine(std::string_view text) = 0;
  /// Closes the file; later writes fail. Closing twice does nothing.
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// The path as it resolves on disk (see above).
  virtual std::string ResolvePath(std::string_view path) const = 0;

  /// True when a regular file is at `path`.
  virtual bool FileExists(std::string_view path) const = 0;

  /// Creates the file at `path` (replacing any file of that name when `overwrite`) and opens it
  /// for writing. Throws Failure 76 when its folder does not exist, 58 when it exists and
  /// `overwrite` is false, 70 when access is refused.
  virtual std::unique_ptr<TextStream> CreateTextFile(std::string_view path, bool overwrite) = 0;

  /// Opens the existing file at `path` for appending. Throws Failure 53 when there is none.
  virtual std::unique_ptr<TextStream> OpenTextFileForAppending(std::string_view path) = 0;

  /// Removes the file at `path`. True when nothing is there afterwards.
  virtual bool DeleteFile(std::string_view path) = 0;
};

}  // namespace dks
