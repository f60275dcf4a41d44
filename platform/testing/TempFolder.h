// A fresh folder in the test's temporary directory, removed with its contents at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace dks {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "dksr-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
    path_ = pattern;
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }

  /// The folder's absolute path, without a trailing separator.
  const std::string& path() const { return path_; }
  /// The path of `name` in the folder.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

/// The bytes of a file, "" when there is none.
inline std::string readFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

inline void writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace dks
