// A fresh folder in the test's temporary directory, removed with its contents at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
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

 private:
  std::string path_;
};

}  // namespace dks
