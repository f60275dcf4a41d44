// Helpers for platform tests: Maildir folders, and the failure a call throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Failure.h"

namespace dks {

/// Makes the Maildir folder `path` with the sub-folders named in `parts` (by default cur/, new/
/// and tmp/), and any missing folder above it.
inline void makeMaildir(const std::string& path,
                        std::initializer_list<const char*> parts = {"cur", "new", "tmp"}) {
  std::filesystem::create_directories(path);
  for (const char* part : parts) std::filesystem::create_directories(path + "/" + part);
}

/// The Failure `body` throws, or Failure(0, "") when it throws none.
inline Failure failureOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const Failure& failure) {
    return failure;
  }
  return Failure(0, "");
}

}  // namespace dks
