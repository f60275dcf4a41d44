// run_bench: how long a whole standalone run takes, and at what memory, against the floors of
// its two halves: reading the messages and hearing the server's list.
//
//   run_bench [--messages N] [--repeat R] [--keep DIR]
//
// Writes a Maildir of N messages with MaildirWriter (not timed) into a temporary folder, or into
// DIR with --keep (left in place), starts dks-refserver on a free loopback port over a new
// catalogue, writes a settings hive that points the program at it (the Inbox with its
// sub-folders as the one include folder, MaximumMatches 500, Debug 0), then prints one line per
// measure, "name: items=N seconds=S items_per_second=R cpu_seconds=C peak_rss_kib=K":
//   run_empty_catalogue    `dks-reconciler run` as a child process against the empty catalogue:
//                          every message is saved. Run once.
//   run_nothing_to_send    the same run again, now that the server lists every message: nothing
//                          is sent. The fastest of R runs, taking turns with the two floors.
//   bare_header_read       the floor of the mail store: every message's header block read bare
//                          (HeaderBlocks.h). The fastest of R runs.
//   list_documents_paging  the floor of the server: the program's own "list documents"
//                          exchange (clsInclude::pblnLoadXML and pblnSendXML) over every page of
//                          the catalogue into MailItems, in a fresh process whose host stands as
//                          in mailstore_bench. The fastest of R runs.
// The run lines add "server_cpu_seconds", the server's share of the time; the listing line too.
// Then "ratio_run_to_floors=X": run_nothing_to_send's seconds over the two floors' together.
//
// Each run's time and peak come from wait4 on the child; each floor runs in a fresh forked copy
// of this process, so each peak is its own. The benchmark fails (status 1) when a run does not end
// with status 0, when the first run leaves other than N documents in the catalogue, when a run
// with nothing to send changes the catalogue, or when a floor does not see N messages.

#include <stdlib.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "app/clsApplication.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "bench/ChildProcess.h"
#include "bench/HeaderBlocks.h"
#include "bench/MaildirWriter.h"
#include "bench/Measure.h"
#include "platform/Failure.h"
#include "platform/Hive.h"
#include "platform/testing/FakePlatform.h"
#include "reconcile/clsInclude.h"

namespace dks {
namespace {

constexpr const char* kSharedKey = "Software\\DKS\\Settings";
constexpr const char* kApplicationKey = "Software\\DKS\\Reconciler";
constexpr const char* kIncludeListKey = "Software\\DKS\\Reconciler\\Include";
constexpr const char* kIncludeKey = "Software\\DKS\\Reconciler\\Include\\Inbox#1";
constexpr int32_t kMaxMatches = 500;
// The newest message is dated 1 January 2026 00:00 UTC and the others go back from there, so
// that every message was last changed before the first run saved it: mail changed after the
// server's date would be saved again by every run.
constexpr int64_t kNewestDate = 1767225600;
constexpr int64_t kMostMessages = kNewestDate / kMaildirWriterSpacing;
// The folder text the pass sends for the Inbox of a Maildir store.
constexpr const char* kInboxPath = "Personal Folders\\Inbox";

// Where the work of one benchmark goes.
struct Paths {
  std::string maildir;
  std::string catalogue;
  std::string hive;
  std::string home;  // the program folder of the runs and of the listing's host
};

void fail(const std::string& message) {
  std::cerr << "run_bench: " << message << "\n";
}

// The settings of every run: the server at 127.0.0.1:`port`, the Inbox with its sub-folders as
// the one include folder, pages and batches of kMaxMatches, no run log.
void writeSettings(Hive& hive, int port) {
  hive.transaction([&] {
    hive.writeValue(kSharedKey, "Host", std::string("http://127.0.0.1"));
    hive.writeValue(kSharedKey, "Port", std::to_string(port));
    hive.writeValue(kApplicationKey, "Debug", int32_t{0});
    hive.writeValue(kIncludeListKey, "MaximumMatches", kMaxMatches);
    hive.writeValue(kIncludeKey, "SubFolders", int32_t{1});
  });
}

// Starts the reference server over `catalogue` on a free loopback port; its port, or 0 after
// saying why it did not start.
int startServer(ChildProcess& server, const std::string& catalogue) {
  std::string err;
  if (!server.start({DKSR_REFSERVER, "--listen", "127.0.0.1:0", "--catalogue", catalogue}, {}, true,
                    &err)) {
    fail(err);
    return 0;
  }
  std::string line;
  const size_t colon = server.readLine(&line) ? line.rfind(':') : std::string::npos;
  if (!line.starts_with("listening on ") || colon == std::string::npos) {
    fail("the reference server did not start: " + line);
    return 0;
  }
  return std::atoi(line.c_str() + colon + 1);
}

// What the catalogue holds: its documents and a digest of the whole dump.
struct CatalogueFacts {
  int64_t documents = -1;  // -1: the dump failed
  uint64_t digest = 0;
};

// Reads `dks-refserver --catalogue FILE --dump` line by line (the dump of 100,000 documents is
// not held in memory). FNV-1a over every byte: a document saved again shows in its date.
CatalogueFacts readCatalogue(const std::string& catalogue) {
  ChildProcess dump;
  std::string err;
  if (!dump.start({DKSR_REFSERVER, "--catalogue", catalogue, "--dump"}, {}, true, &err)) {
    fail(err);
    return {};
  }
  CatalogueFacts facts;
  uint64_t digest = 14695981039346656037ull;
  for (std::string line; dump.readLine(&line);) {
    for (const char c : line + "\n")
      digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    ++facts.documents;  // the header line makes up for the -1 it starts from
  }
  facts.digest = digest;
  if (dump.wait().status != 0) {
    fail("the catalogue dump failed");
    return {};
  }
  return facts;
}

// One `dks-reconciler run` with the benchmark's environment, as the measure `name` of
// `messages` items; the server's CPU time during it goes into the details. Items are -1 when
// the run did not end with status 0.
Measure runReconciler(const std::string& name, int64_t messages,
                      const std::vector<std::string>& environment, const ChildProcess& server) {
  ChildProcess run;
  std::string err;
  const double serverBefore = server.cpuSeconds();
  if (!run.start({DKSR_EXECUTABLE, "run"}, environment, false, &err)) {
    fail(err);
    return failedMeasure(name);
  }
  const ChildEnd end = run.wait();
  char details[64];
  std::snprintf(details, sizeof details, " server_cpu_seconds=%.3f",
                server.cpuSeconds() - serverBefore);
  if (end.status != 0)
    fail(name + ": dks-reconciler run ended with status " + std::to_string(end.status));
  Measure measure;
  measure.name = name;
  measure.items = end.status == 0 ? messages : -1;
  measure.seconds = end.seconds;
  measure.cpuSeconds = end.cpuSeconds;
  measure.peakRssKib = end.peakRssKib;
  measure.details = details;
  return measure;
}

// The listing floor, in a fresh process as the run's listing is: a host as mailstore_bench
// stands it up, whose in-memory hive holds the runs' settings, and one include folder that
// lists every page into MailItems once. Only the exchange is timed.
Measure listDocuments(const Paths& paths, int port, const ChildProcess& server) {
  FakePlatform platform(paths.home);
  writeSettings(platform.utility->hive(), port);
  gobjUtility = platform.CreateUtility();
  gcolError = std::make_shared<colError>(platform.CreateFileSystem());
  gobjApplication = std::make_shared<clsApplication>(platform);
  auto include = std::make_unique<clsInclude>();
  include->setKey(kIncludeKey);
  const double serverBefore = server.cpuSeconds();
  Measure listing = timeOnce("list_documents_paging", [&] {
    std::string xml;
    const bool listed = include->pblnLoadXML(kInboxPath, false, xml) &&
                        include->pblnSendXML(kInboxPath, false, cfIgnore + cfInclude);
    return listed ? int64_t{include->MailItems()->Count()} : -1;
  });
  char details[64];
  std::snprintf(details, sizeof details, " server_cpu_seconds=%.3f",
                server.cpuSeconds() - serverBefore);
  listing.details = details;
  for (const auto& record : gcolError->NewEnum()) {
    fail("list_documents_paging: " + colError::recordLine(*record));
    listing.items = -1;
  }
  include.reset();
  modApplication::pblnShutDown();
  return listing;
}

// The floor of the mail store, in a fresh copy of this process.
Measure bareFloor(const std::string& maildir) {
  return measureInChild("bare_header_read", [&] {
    return timeOnce("bare_header_read", [&] { return readHeaderBlocks(maildir); });
  });
}

// The floor of the server, in a fresh copy of this process.
Measure listingFloor(const Paths& paths, int port, const ChildProcess& server) {
  return measureInChild("list_documents_paging",
                        [&] { return listDocuments(paths, port, server); });
}

// A run with nothing to send: no document of the catalogue may change (`saved` is what it
// held before). Items are -1 when it failed or changed the catalogue.
Measure runUnchanged(int64_t messages, const std::vector<std::string>& environment,
                     const ChildProcess& server, const std::string& catalogue,
                     const CatalogueFacts& saved) {
  Measure once = runReconciler("run_nothing_to_send", messages, environment, server);
  const CatalogueFacts after = readCatalogue(catalogue);
  if (once.items >= 0 && (after.documents != saved.documents || after.digest != saved.digest)) {
    fail("run_nothing_to_send changed the catalogue: " + std::to_string(after.documents) +
         " documents");
    once.items = -1;
  }
  return once;
}

// Keeps in `fastest` the faster of it and `next`, or `next` when it is the first or it failed
// (a failure ends the series).
void keepFaster(Measure& fastest, Measure next, bool first) {
  if (first || next.items < 0 || (fastest.items >= 0 && next.seconds < fastest.seconds))
    fastest = std::move(next);
}

bool check(const Measure& measure, int64_t messages) {
  if (measure.items == messages) return true;
  fail(measure.name + " saw " + std::to_string(measure.items) + " messages, not " +
       std::to_string(messages));
  return false;
}

// The catalogue's documents after the first run.
bool checkSaved(const CatalogueFacts& facts, int64_t messages) {
  if (facts.documents == messages) return true;
  fail("after run_empty_catalogue the catalogue holds " + std::to_string(facts.documents) +
       " documents, not " + std::to_string(messages));
  return false;
}

int run(int64_t messages, int repeat, const Paths& paths) {
  MaildirWriter writer(
      {MaildirLayout::kFs, messages, 1, 1, kNewestDate - (messages - 1) * kMaildirWriterSpacing});
  std::string err;
  if (!writer.write(paths.maildir, &err)) {
    fail(err);
    return 1;
  }
  std::printf("maildir: %s in %s\n", writer.summary().c_str(), paths.maildir.c_str());

  ChildProcess server;
  const int port = startServer(server, paths.catalogue);
  if (port == 0) return 1;
  try {
    writeSettings(*Hive::open(paths.hive), port);
  } catch (const Failure& failure) {
    fail("cannot write the settings hive: " + failure.description());
    return 1;
  }
  const std::vector<std::string> environment = environmentWith(
      {"DKSR_HIVE=" + paths.hive, "MAILDIR=" + paths.maildir, "DKSR_HOME=" + paths.home});

  const Measure saving = runReconciler("run_empty_catalogue", messages, environment, server);
  std::printf("%s\n", measureLine(saving).c_str());
  const CatalogueFacts saved = readCatalogue(paths.catalogue);
  if (saving.items < 0 || !checkSaved(saved, messages)) return 1;

  // A document saved again by a later run would then carry a later date than any saved now.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  // The run and the two floors take turns, R rounds, so that a slow spell of the machine falls
  // on all three alike; each keeps its fastest.
  Measure unchanged, bare, listing;
  for (int round = 0; round < std::max(repeat, 1); ++round) {
    keepFaster(unchanged, runUnchanged(messages, environment, server, paths.catalogue, saved),
               round == 0);
    if (unchanged.items < 0) break;
    keepFaster(bare, bareFloor(paths.maildir), round == 0);
    keepFaster(listing, listingFloor(paths, port, server), round == 0);
  }
  std::printf("%s\n", measureLine(unchanged).c_str());
  if (unchanged.items < 0) return 1;
  std::printf("%s\n", measureLine(bare).c_str());
  std::printf("%s\n", measureLine(listing).c_str());
  if (!check(bare, messages) || !check(listing, messages)) return 1;

  std::printf("ratio_run_to_floors=%.2f\n", unchanged.seconds / (bare.seconds + listing.seconds));
  server.terminate();
  if (server.wait().status != 0) {
    fail("the reference server did not stop cleanly");
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace dks

int main(int argc, char** argv) {
  CLI::App app{"Measures a whole standalone run against the reference server, and its floors.",
               "run_bench"};
  int64_t messages = 10000;
  std::string keep;
  int repeat = 3;
  app.add_option("--messages", messages, "how many messages to write and reconcile")
      ->check(CLI::Range(int64_t{1}, dks::kMostMessages))
      ->capture_default_str();
  app.add_option("--repeat", repeat, "runs of each repeated measure; the fastest is shown")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--keep", keep, "write the Maildir into this new folder and keep it");
  CLI11_PARSE(app, argc, argv);

  // The Maildir, unless kept, the catalogue, the hive and the program folder go into one
  // temporary folder.
  const std::string work = dks::makeWorkFolder("run-bench");
  if (work.empty()) return 1;
  const dks::Paths paths{keep.empty() ? work + "/Maildir" : keep, work + "/catalogue.db",
                         work + "/registry.db", work + "/home"};
  std::filesystem::create_directory(paths.home);
  const int status = dks::run(messages, repeat, paths);
  std::error_code error;
  std::filesystem::remove_all(work, error);
  return status;
}
