// RunReport: what `dks-reconciler run` shows of a run. When the run ends it prints one summary
// line per include folder and one for the run; on a terminal it keeps one progress line on
// standard error while a folder is listed and walked; in a dry run it prints every request
// record that the run would have sent.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "reconcile/RunMonitor.h"

namespace dks {

class RunReport : public RunMonitor {
 public:
  /// Prints the summary (and a dry run's records) on `out`; progress goes to `progress` only
  /// when `showProgress` (standard error is a terminal).
  RunReport(std::ostream& out, std::ostream& progress, bool showProgress, bool dryRun);

  bool dryRun() const override { return dryRun_; }
  void listing(int32_t documents) override;
  void walking(int32_t items) override;
  /// "would send", the action, the document id, the location and the title, tab-separated.
  void wouldSend(std::string_view action, const PendingDocument& document) override;
  /// "include folder KEY (FOLDER): ..." with the tally's counts.
  void passEnded(const PassTally& tally) override;
  /// "run: succeeded|failed; N include folders; ..." with the sums of every pass.
  void runEnded(bool succeeded, int32_t errorRecords) override;

  /// The counts of `tally` as the summary lines print them, from "N documents listed" to
  /// "N error records added".
  static std::string countsText(const PassTally& tally);

 private:
  // Shows `text` as the progress line, at most ten times a second.
  void showProgress(const std::string& text);
  // Removes the progress line before a line is printed on the terminal.
  void clearProgress();

  std::ostream& out_;
  std::ostream& progress_;
  const bool showProgress_;
  const bool dryRun_;
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastProgress_{};
  int32_t passes_ = 0;
  PassTally total_;
};

}  // namespace dks
