// mailstore_bench: how fast the messages of a Maildir can be read, and at what memory.
//
//   mailstore_bench [--messages N] [--layout fs|maildir++] [--repeat R] [--keep DIR]
//
// Writes a Maildir of N messages with MaildirWriter (not timed) into a temporary folder, or
// into DIR with --keep (DIR should be new or empty; it is left in place), then prints one line
// per measure, "name: items=N seconds=S items_per_second=R", the fastest of R runs:
//   bare_header_read  the floor: walk every folder's new/ and cur/, open each message, read up
//                     to the first empty line, close. Nothing else.
//   mailstore_load    the program's way: open the Maildir store, take the Inbox (6) and the
//                     Sent Items (5) and all their sub-folders depth first, and load every item
//                     into an item record (clsItem::pblnLoad).
// then "ratio_load_to_bare=X" (the two times' ratio), "error_records=E" (records the loads
// left in the error collection) and last the process's peak resident set size,
// "peak_rss_kib=K".
//
// The process-wide objects stand as in the tests: an in-memory settings hive, an error
// collection, and an application object at DebugLevel 0 whose program folder is a temporary
// folder, so failures are recorded and nothing is logged.

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

#include "app/clsApplication.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "bench/MaildirWriter.h"
#include "mailstore/clsItem.h"
#include "platform/Failure.h"
#include "platform/maildir/MaildirApplication.h"
#include "platform/testing/FakePlatform.h"

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

// Runs `body`, which returns the items it handled, `repeat` times; the fastest run.
Measure measure(const std::string& name, int repeat, const std::function<int64_t()>& body) {
  Measure fastest{name, 0, 0};
  for (int run = 0; run < repeat; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const int64_t items = body();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (run == 0 || elapsed.count() < fastest.seconds) fastest = {name, items, elapsed.count()};
  }
  return fastest;
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

// Loads every item of `folder` and, depth first, of its sub-folders into `record`. Returns
// the number of items; counts in *unnamed those that came out without an entry id.
int64_t loadItems(OutlookFolder& folder, clsItem& record, int64_t* unnamed) {
  int64_t count = 0;
  auto items = folder.Items();
  for (int32_t i = 1, total = items->Count(); i <= total; ++i) {
    record.pblnReset();
    record.pblnLoad(items->Item(i));
    *unnamed += record.EntryID().empty();
    ++count;
  }
  auto children = folder.Folders();
  for (int32_t i = 1, total = children->Count(); i <= total; ++i)
    count += loadItems(*children->Item(i), record, unnamed);
  return count;
}

// Opens the store at `root` and loads every item of the Inbox and the Sent Items. Returns the
// number of items, or -1 after printing why the store could not be read.
int64_t loadStore(const std::string& root, int64_t* unnamed) {
  try {
    MaildirSettings settings;
    settings.root = root;
    auto space = openMaildirStore(settings)->GetNamespace("MAPI");
    clsItem record;
    int64_t count = 0;
    for (int32_t number : {6, 5})
      count += loadItems(*space->GetDefaultFolder(number), record, unnamed);
    return count;
  } catch (const Failure& failure) {
    std::cerr << "mailstore_bench: cannot read the store: " << failure.number() << " "
              << failure.description() << "\n";
    return -1;
  }
}

int64_t peakRssKib() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

bool check(const Measure& measure, int64_t messages) {
  if (measure.items == messages) return true;
  std::cerr << "mailstore_bench: " << measure.name << " found " << measure.items
            << " messages, not " << messages << "\n";
  return false;
}

int run(int64_t messages, MaildirLayout layout, int repeat, const std::string& dir,
        const std::string& hostDir) {
  MaildirWriter writer({layout, messages, 1, 1});
  std::string err;
  if (!writer.write(dir, &err)) {
    std::cerr << "mailstore_bench: " << err << "\n";
    return 1;
  }
  std::printf("maildir: %s in %s\n", writer.summary().c_str(), dir.c_str());

  const Measure bare =
      measure("bare_header_read", repeat, [&] { return readHeaderBlocks(dir, false); });
  print(bare);
  if (!check(bare, messages)) return 1;

  FakePlatform platform(hostDir);
  gobjUtility = platform.CreateUtility();
  gcolError = std::make_shared<colError>(platform.CreateFileSystem());
  gobjApplication = std::make_shared<clsApplication>(platform);
  gobjApplication->setDebugLevel(0);
  int64_t unnamed = 0;
  const Measure load = measure("mailstore_load", repeat, [&] { return loadStore(dir, &unnamed); });
  const int32_t errorRecords = gcolError->Count();
  modApplication::pblnShutDown();
  print(load);
  if (!check(load, messages)) return 1;
  if (unnamed != 0) {
    std::cerr << "mailstore_bench: " << unnamed << " items loaded without an entry id\n";
    return 1;
  }
  std::printf("ratio_load_to_bare=%.2f\n", load.seconds / bare.seconds);
  std::printf("error_records=%d\n", errorRecords);
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
  int repeat = 3;
  app.add_option("--messages", messages, "how many messages to write and read")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--layout", layout, "fs or maildir++")
      ->check(CLI::IsMember({"fs", "maildir++"}))
      ->capture_default_str();
  app.add_option("--repeat", repeat, "runs of each measure; the fastest is shown")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--keep", keep, "write the Maildir into this new folder and keep it");
  CLI11_PARSE(app, argc, argv);

  // The Maildir, unless kept, and the host's program folder go into one temporary folder.
  const char* tmp = std::getenv("TMPDIR");
  std::string work =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/mailstore-bench-XXXXXX";
  if (::mkdtemp(work.data()) == nullptr) {
    std::perror("mailstore_bench: mkdtemp");
    return 1;
  }
  const int status = dks::run(
      messages, layout == "fs" ? dks::MaildirLayout::kFs : dks::MaildirLayout::kMaildirPlusPlus,
      repeat, keep.empty() ? work + "/Maildir" : keep, work);
  std::error_code error;
  std::filesystem::remove_all(work, error);
  return status;
}
