#include "bench/ChildProcess.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace dks {
namespace {

const std::string kShell = "/bin/sh";

TEST(ChildProcessTest, OutputLinesExitStatusAndCost) {
  ChildProcess child;
  std::string err;
  ASSERT_TRUE(
      child.start({kShell, "-c", "echo listening on 1:2; printf 'last'; exit 3"}, {}, true, &err))
      << err;
  std::string line;
  ASSERT_TRUE(child.readLine(&line));
  EXPECT_EQ(line, "listening on 1:2");
  ASSERT_TRUE(child.readLine(&line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(child.readLine(&line));
  const ChildEnd end = child.wait();
  EXPECT_EQ(end.status, 3);
  EXPECT_GT(end.peakRssKib, 0);
  EXPECT_GT(end.seconds, 0);
  EXPECT_EQ(child.wait().status, 3);
}

TEST(ChildProcessTest, ASignalledChildEndsWith128PlusTheSignal) {
  ChildProcess child;
  std::string err;
  ASSERT_TRUE(child.start({"/bin/sleep", "30"}, {}, false, &err)) << err;
  EXPECT_GE(child.cpuSeconds(), 0);
  std::string line;
  EXPECT_FALSE(child.readLine(&line));  // output not captured
  child.terminate();
  EXPECT_EQ(child.wait().status, 128 + 15);
  EXPECT_EQ(child.cpuSeconds(), -1);
}

TEST(ChildProcessTest, TheEnvironmentIsThisProcessesWithTheChanges) {
  ::setenv("DKSR_BENCH_KEPT", "kept", 1);
  ::setenv("DKSR_BENCH_CHANGED", "old", 1);
  const std::vector<std::string> environment =
      environmentWith({"DKSR_BENCH_CHANGED=new", "DKSR_BENCH_ADDED=added"});
  ChildProcess child;
  std::string err;
  ASSERT_TRUE(child.start({kShell, "-c",
                           "echo $DKSR_BENCH_KEPT $DKSR_BENCH_CHANGED $DKSR_BENCH_ADDED; "
                           "env | grep -c '^DKSR_BENCH_CHANGED='"},
                          environment, true, &err))
      << err;
  std::string line;
  ASSERT_TRUE(child.readLine(&line));
  EXPECT_EQ(line, "kept new added");
  ASSERT_TRUE(child.readLine(&line));
  EXPECT_EQ(line, "1");
  EXPECT_EQ(child.wait().status, 0);
}

TEST(ChildProcessTest, AProgramThatIsNotThereIsReported) {
  ChildProcess child;
  std::string err;
  EXPECT_FALSE(child.start({"/nonexistent/program"}, {}, true, &err));
  EXPECT_EQ(err, "cannot start /nonexistent/program: No such file or directory");
  EXPECT_EQ(child.wait().status, -1);
}

TEST(ChildProcessTest, AMeasureComesBackFromAForkedCopyWithItsPeak) {
  const Measure measure = measureInChild("floor", [] {
    Measure made;
    made.name = "list_documents_paging";
    made.items = 7;
    made.seconds = 0.25;
    made.cpuSeconds = 0.125;
    made.details = " server_cpu_seconds=0.010";
    return made;
  });
  EXPECT_EQ(measure.name, "list_documents_paging");
  EXPECT_EQ(measure.items, 7);
  EXPECT_DOUBLE_EQ(measure.seconds, 0.25);
  EXPECT_DOUBLE_EQ(measure.cpuSeconds, 0.125);
  EXPECT_EQ(measure.details, " server_cpu_seconds=0.010");
  EXPECT_GT(measure.peakRssKib, 0);

  const Measure lost = measureInChild("floor", []() -> Measure { ::_exit(0); });
  EXPECT_EQ(lost.items, -1);
  EXPECT_EQ(lost.name, "floor");
}

}  // namespace
}  // namespace dks
