#include "app/RunReport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace dks {
namespace {

PassTally tally(const char* key, int32_t listed, bool passed) {
  PassTally result;
  result.key = key;
  result.folder = "Personal Folders\\Inbox";
  result.passed = passed;
  result.listed = listed;
  result.walkedInbox = 7;
  result.walkedSent = 2;
  result.newItems = 3;
  result.resaves = 1;
  result.deletes = 2;
  result.save = {2, 1};
  result.remove = {1, 0};
  result.errorRecords = 1;
  return result;
}

TEST(RunReportTest, PrintsOneLinePerIncludeFolderAndTheRunsSums) {
  std::ostringstream out;
  std::ostringstream progress;
  RunReport report(out, progress, false, false);
  report.walking(5);
  report.passEnded(tally("Inbox#1", 10, true));
  report.passEnded(tally("", 0, false));
  report.runEnded(false, 3);

  EXPECT_EQ(out.str(),
            "include folder Inbox#1 (Personal Folders\\Inbox): reconciled; 10 documents listed; "
            "7 items walked in the Inbox, 2 in the Sent Items; 3 new, 1 resave, 2 delete; "
            "requests sent/failed: save 2/1, move document 0/0, update usage 0/0, delete 1/0; "
            "1 error records added\n"
            "include folder (no key) (Personal Folders\\Inbox): failed; 0 documents listed; "
            "7 items walked in the Inbox, 2 in the Sent Items; 3 new, 1 resave, 2 delete; "
            "requests sent/failed: save 2/1, move document 0/0, update usage 0/0, delete 1/0; "
            "1 error records added\n"
            "run: failed; 2 include folders; 10 documents listed; 14 items walked in the Inbox, "
            "4 in the Sent Items; 6 new, 2 resave, 4 delete; requests sent/failed: save 4/2, "
            "move document 0/0, update usage 0/0, delete 2/0; 3 error records added\n");
  EXPECT_EQ(progress.str(), "") << "no progress off a terminal";
}

TEST(RunReportTest, ADryRunPrintsEachRecordItWouldSendAndClearsItsProgressLine) {
  std::ostringstream out;
  std::ostringstream progress;
  RunReport report(out, progress, true, true);
  report.listing(40);
  report.wouldSend("delete", {12, "00AB", "Personal Folders\\Inbox\\Lunch"});

  EXPECT_TRUE(report.dryRun());
  EXPECT_EQ(out.str(), "would send\tdelete\t12\t00AB\tPersonal Folders\\Inbox\\Lunch\n");
  EXPECT_EQ(progress.str(), "\033[Klisting the server's documents: 40\r\033[K");
}

}  // namespace
}  // namespace dks
