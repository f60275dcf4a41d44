// mailstore_bench: how fast the messages of a Maildir can be read, and at what memory.
//
//   mailstore_bench [--messages N] [--layout fs|maildir++] [--keep DIR]
//
// Writes a Maildir of N messages with MaildirWriter (not timed) into a temporary folder, or
// into DIR with --keep (DIR should be new or empty; it is left in place), then prints one line
// per measure, "name: items=N seconds=S items_per_second=R", and at the end the process's peak
// resident set size, "peak_rss_kib=K".
//
// bare_header_read is the floor: walk every folder's new/ and cur/, open each message, read up
// to the first empty line, close. Nothing else.

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "bench/MaildirWriter.h"

namespace dks {
namespace {

struct Measure {
  std::string name;
  int64_t items = 0;
  double seconds = 0;
};

void print(const Measure& measure) {
  std::printf("%s: items=%lld seconds=%.6f items_per_second=%.0f\n", measure.name.c_str(),
              static_cast<long long>(measure.items), measure.seconds,
              measure.seconds > 0 ? static_cast<double>(measure.items) / measure.seconds : 0.0);
}

// Runs `body`, which returns the items it handled, and times it.
Measure measure(const std::string& name, const std::function<int64_t()>& body) {
  const auto start = std::chrono::steady_clock::now();
  const int64_t items = body();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {name, items, elapsed.count()};
}

// Reads `path` up to and including the first empty line (LF LF or LF CR LF). False when the
// file cannot be opened or read.
bool readHeaderBlock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  bool atLineStart = true;
  bool ok = true;
  for (bool done = false; !done;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    for (ssize_t i = 0; i < n && !done; ++i) {
      if (buffer[i] == '\n') {
        done = atLineStart;
        atLineStart = true;
      } else if (buffer[i] != '\r') {
        atLineStart = false;
      }
    }
  }
  ::close(fd);
  return ok;
}

bool isDirectory(const std::string& path, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// Reads the header block of every message below `dir`: every file not starting with "." in a
// directory named cur or new. Returns the number of messages read; -1 when one could not be.
int64_t readHeaderBlocks(const std::string& dir, bool messageDirectory) {
  DIR* stream = ::opendir(dir.c_str());
  if (stream == nullptr) return -1;
  int64_t count = 0;
  while (const dirent* entry = ::readdir(stream)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "/" + name;
    if (messageDirectory) {
      if (name[0] == '.' || isDirectory(path, *entry)) continue;
      if (!readHeaderBlock(path)) {
        count = -1;
        break;
      }
      ++count;
    } else if (name != "tmp" && isDirectory(path, *entry)) {
      const int64_t below = readHeaderBlocks(path, name == "cur" || name == "new");
      if (below < 0) {
        count = -1;
        break;
      }
      count += below;
    }
  }
  ::closedir(stream);
  return count;
}

int64_t peakRssKib() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

int run(int64_t messages, MaildirLayout layout, const std::string& dir) {
  MaildirWriter writer({layout, messages, 1, 1});
  std::string err;
  if (!writer.write(dir, &err)) {
    std::cerr << "mailstore_bench: " << err << "\n";
    return 1;
  }
  std::printf("maildir: %s in %s\n", writer.summary().c_str(), dir.c_str());

  const Measure bare = measure("bare_header_read", [&] { return readHeaderBlocks(dir, false); });
  print(bare);
  if (bare.items != messages) {
    std::cerr << "mailstore_bench: the bare read found " << bare.items << " messages, not "
              << messages << "\n";
    return 1;
  }
  std::printf("peak_rss_kib=%lld\n", static_cast<long long>(peakRssKib()));
  return 0;
}

}  // namespace
}  // namespace dks

int main(int argc, char** argv) {
  CLI::App app{"Measures reading a synthetic Maildir: the bare floor and the mail store.",
               "mailstore_bench"};
  int64_t messages = 10000;
  std::string layout = "fs";
  std::string keep;
  app.add_option("--messages", messages, "how many messages to write and read")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--layout", layout, "fs or maildir++")
      ->check(CLI::IsMember({"fs", "maildir++"}))
      ->capture_default_str();
  app.add_option("--keep", keep, "write the Maildir into this new folder and keep it");
  CLI11_PARSE(app, argc, argv);

  std::string dir = keep;
  if (dir.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/mailstore-bench-XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr) {
      std::perror("mailstore_bench: mkdtemp");
      return 1;
    }
  }
  const int status = dks::run(
      messages, layout == "fs" ? dks::MaildirLayout::kFs : dks::MaildirLayout::kMaildirPlusPlus,
      dir);
  if (keep.empty()) {
    std::error_code error;
    std::filesystem::remove_all(dir, error);
  }
  return status;
}
