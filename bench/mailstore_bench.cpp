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

#include <stdlib.h>
#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/clsApplication.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "bench/HeaderBlocks.h"
#include "bench/MaildirWriter.h"
#include "bench/Measure.h"
#include "mailstore/clsItem.h"
#include "platform/Failure.h"
#include "platform/maildir/MaildirApplication.h"
#include "platform/testing/FakePlatform.h"

namespace dks {
namespace {

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

  const Measure bare = fastestOf(
      repeat, [&] { return timeOnce("bare_header_read", [&] { return readHeaderBlocks(dir); }); });
  std::printf("%s\n", measureLine(bare).c_str());
  if (!check(bare, messages)) return 1;

  FakePlatform platform(hostDir);
  gobjUtility = platform.CreateUtility();
  gcolError = std::make_shared<colError>(platform.CreateFileSystem());
  gobjApplication = std::make_shared<clsApplication>(platform);
  gobjApplication->setDebugLevel(0);
  int64_t unnamed = 0;
  const Measure load = fastestOf(
      repeat, [&] { return timeOnce("mailstore_load", [&] { return loadStore(dir, &unnamed); }); });
  const int32_t errorRecords = gcolError->Count();
  modApplication::pblnShutDown();
  std::printf("%s\n", measureLine(load).c_str());
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
  const std::string work = dks::makeWorkFolder("mailstore-bench");
  if (work.empty()) return 1;
  const int status = dks::run(
      messages, layout == "fs" ? dks::MaildirLayout::kFs : dks::MaildirLayout::kMaildirPlusPlus,
      repeat, keep.empty() ? work + "/Maildir" : keep, work);
  std::error_code error;
  std::filesystem::remove_all(work, error);
  return status;
}
