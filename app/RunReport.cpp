#include "app/RunReport.h"

namespace dks {
namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

std::string requestsText(const char* action, const RequestCount& requests) {
  return std::string(action) + " " + std::to_string(requests.sent) + "/" +
         std::to_string(requests.failed);
}

void add(RequestCount& sum, const RequestCount& requests) {
  sum.sent += requests.sent;
  sum.failed += requests.failed;
}

void add(PassTally& sum, const PassTally& tally) {
  sum.listed += tally.listed;
  sum.walkedInbox += tally.walkedInbox;
  sum.walkedSent += tally.walkedSent;
  sum.newItems += tally.newItems;
  sum.resaves += tally.resaves;
  sum.deletes += tally.deletes;
  add(sum.save, tally.save);
  add(sum.move, tally.move);
  add(sum.update, tally.update);
  add(sum.remove, tally.remove);
}

}  // namespace

RunReport::RunReport(std::ostream& out, std::ostream& progress, bool showProgress, bool dryRun)
    : out_(out), progress_(progress), showProgress_(showProgress), dryRun_(dryRun) {}

void RunReport::listing(int32_t documents) {
  showProgress("listing the server's documents: " + std::to_string(documents));
}

void RunReport::walking(int32_t items) {
  showProgress("walking the mail folders: " + std::to_string(items) + " items");
}

void RunReport::wouldSend(std::string_view action, const PendingDocument& document) {
  clearProgress();
  out_ << "would send\t" << action << '\t' << document.documentID << '\t' << document.location
       << '\t' << document.title << '\n';
}

void RunReport::passEnded(const PassTally& tally) {
  clearProgress();
  ++passes_;
  add(total_, tally);
  out_ << "include folder " << (tally.key.empty() ? "(no key)" : tally.key) << " (" << tally.folder
       << "): " << (tally.passed ? "reconciled" : "failed") << "; " << countsText(tally) << '\n';
}

void RunReport::runEnded(bool succeeded, int32_t errorRecords) {
  clearProgress();
  total_.errorRecords = errorRecords;
  out_ << (dryRun_ ? "dry run: " : "run: ") << (succeeded ? "succeeded" : "failed") << "; "
       << passes_ << (passes_ == 1 ? " include folder; " : " include folders; ")
       << countsText(total_) << '\n';
  out_.flush();
}

std::string RunReport::countsText(const PassTally& tally) {
  return std::to_string(tally.listed) + " documents listed; " + std::to_string(tally.walkedInbox) +
         " items walked in the Inbox, " + std::to_string(tally.walkedSent) +
         " in the Sent Items; " + std::to_string(tally.newItems) + " new, " +
         std::to_string(tally.resaves) + " resave, " + std::to_string(tally.deletes) +
         " delete; requests sent/failed: " + requestsText("save", tally.save) + ", " +
         requestsText("move document", tally.move) + ", " +
         requestsText("update usage", tally.update) + ", " + requestsText("delete", tally.remove) +
         "; " + std::to_string(tally.errorRecords) + " error records added";
}

void RunReport::showProgress(const std::string& text) {
  if (!showProgress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (progressShown_ && now - lastProgress_ < kProgressInterval) return;
  lastProgress_ = now;
  // The cursor goes back to the line's start, so that an error shown meanwhile writes over it.
  progress_ << "\033[K" << text << '\r' << std::flush;
  progressShown_ = true;
}

void RunReport::clearProgress() {
  if (!progressShown_) return;
  progress_ << "\033[K" << std::flush;
  progressShown_ = false;
}

}  // namespace dks
