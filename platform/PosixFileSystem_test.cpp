#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

std::string backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

class PosixFileSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(root_ + "/x/Logs");
    std::ofstream(runLog_, std::ios::binary) << "old\r\n";
  }

  TempFolder folder_;
  const std::string root_ = folder_.path();
  const std::string runLog_ = root_ + "/x/Logs/Run.LOG";
  PosixFileSystem fs_;
};

TEST_F(PosixFileSystemTest, ComponentsResolveToEntriesDifferingOnlyInCase) {
  EXPECT_EQ(fs_.ResolvePath(backslashed(root_) + "\\X\\logs\\run.log"), runLog_);
  EXPECT_EQ(fs_.ResolvePath(root_ + "//x\\\\LOGS/./RUN.log"), runLog_);
  EXPECT_EQ(fs_.ResolvePath(root_ + "/x/logs/../LOGS/run.log"), root_ + "/x/Logs/../Logs/Run.LOG");
  // A missing component and everything after it are used as written.
  EXPECT_EQ(fs_.ResolvePath(root_ + "\\x\\logs\\New.Log"), root_ + "/x/Logs/New.Log");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/X/Archive/LOGS/run.log"), root_ + "/x/Archive/LOGS/run.log");
  // Several entries differing only in case: the exact one, or else the name as written.
  std::filesystem::create_directories(root_ + "/amb/Data");
  std::filesystem::create_directories(root_ + "/amb/DATA");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/AMB/DATA"), root_ + "/amb/DATA");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/AMB/data/f.txt"), root_ + "/amb/data/f.txt");

  std::string previous = std::filesystem::current_path();
  ASSERT_EQ(chdir(root_.c_str()), 0);
  EXPECT_EQ(fs_.ResolvePath("X\\LOGS\\run.log"), "x/Logs/Run.LOG");
  ASSERT_EQ(chdir(previous.c_str()), 0);
}

TEST_F(PosixFileSystemTest, TextFilesAreWrittenByteForByteAndFailuresAreNumbered) {
  auto stream = fs_.CreateTextFile(backslashed(root_) + "\\X\\LOGS\\RUN.log", true);  // replaces
  stream->Write("caf\xE9 ");
  stream->WriteLine("line");
  stream->Close();
  stream->Close();
  EXPECT_EQ(failureOf([&] { stream->WriteLine("late"); }).number(), 75);
  fs_.OpenTextFileForAppending(root_ + "/x/logs/run.log")->WriteLine("");
  EXPECT_EQ(readFileBytes(runLog_), "caf\xE9 line\r\n\r\n");
  EXPECT_EQ(failureOf([&] { fs_.CreateTextFile(root_ + "/x/logs/run.log", false); }).number(), 58);

  EXPECT_EQ(failureOf([&] { fs_.CreateTextFile(root_ + "/nope/a.log", true); }).number(), 76);
  EXPECT_EQ(failureOf([&] { fs_.CreateTextFile(runLog_ + "/a.log", true); }).number(), 76);
  EXPECT_EQ(failureOf([&] { fs_.OpenTextFileForAppending(root_ + "/x/a.log"); }).number(), 53);
  EXPECT_EQ(failureOf([&] { fs_.OpenTextFileForAppending(root_ + "/nope/a.log"); }).number(), 76);
}

TEST_F(PosixFileSystemTest, WritesSurviveAnImmediateEndOfTheProcess) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto stream = fs_.CreateTextFile(root_ + "/x/Logs/Dump.xml", true);
    stream->WriteLine("<a/>");
    _exit(0);  // no destructor, no Close
  }
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  EXPECT_EQ(readFileBytes(root_ + "/x/Logs/Dump.xml"), "<a/>\r\n");
}

TEST_F(PosixFileSystemTest, ExistenceAndDeletion) {
  EXPECT_TRUE(fs_.FileExists(backslashed(root_) + "\\x\\logs\\run.log"));
  EXPECT_FALSE(fs_.FileExists(root_ + "/x/logs"));

  EXPECT_TRUE(fs_.DeleteFile(root_ + "/X/LOGS/RUN.LOG"));
  EXPECT_TRUE(fs_.DeleteFile(runLog_));  // nothing there any more
  EXPECT_TRUE(fs_.DeleteFile(root_ + "/nope/Run.LOG"));
  EXPECT_FALSE(fs_.DeleteFile(root_ + "/x/logs"));  // a folder is not removed
}

}  // namespace
}  // namespace dks
