#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Failure.h"

namespace dks {
namespace {

template <class Body>
int32_t failureNumberOf(Body&& body) {
  try {
    body();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

std::string backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

class PosixFileSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "dksr-fs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/x/Logs");
    writeFile(root_ + "/x/Logs/Run.LOG", "old\r\n");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  static void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  static std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  PosixFileSystem fs_;
  std::string root_;
};

TEST_F(PosixFileSystemTest, ComponentsResolveToEntriesDifferingOnlyInCase) {
  const std::string runLog = root_ + "/x/Logs/Run.LOG";
  EXPECT_EQ(fs_.ResolvePath(runLog), runLog);
  EXPECT_EQ(fs_.ResolvePath(backslashed(root_) + "\\X\\logs\\run.log"), runLog);
  EXPECT_EQ(fs_.ResolvePath(root_ + "//x\\\\LOGS/./RUN.log"), runLog);
  EXPECT_EQ(fs_.ResolvePath(root_ + "/x/logs/../LOGS/run.log"), root_ + "/x/Logs/../Logs/Run.LOG");

  // A missing component and everything after it are used as written.
  EXPECT_EQ(fs_.ResolvePath(backslashed(root_) + "\\x\\logs\\New.Log"), root_ + "/x/Logs/New.Log");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/X/Archive/LOGS/run.log"), root_ + "/x/Archive/LOGS/run.log");

  // Several entries differing only in case: the exact one, or else the name as written.
  std::filesystem::create_directories(root_ + "/amb/Data");
  std::filesystem::create_directories(root_ + "/amb/DATA");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/AMB/DATA"), root_ + "/amb/DATA");
  EXPECT_EQ(fs_.ResolvePath(root_ + "/AMB/data/f.txt"), root_ + "/amb/data/f.txt");
}

TEST_F(PosixFileSystemTest, RelativePathsResolveAgainstTheWorkingDirectory) {
  std::string previous = std::filesystem::current_path();
  ASSERT_EQ(chdir(root_.c_str()), 0);
  EXPECT_EQ(fs_.ResolvePath("X\\LOGS\\run.log"), "x/Logs/Run.LOG");
  EXPECT_EQ(fs_.ResolvePath(".\\x\\"), "x");
  EXPECT_EQ(fs_.ResolvePath("."), ".");
  EXPECT_TRUE(fs_.FileExists("x/logs/RUN.LOG"));
  ASSERT_EQ(chdir(previous.c_str()), 0);
}

TEST_F(PosixFileSystemTest, TextFilesAreWrittenByteForByte) {
  auto stream = fs_.CreateTextFile(backslashed(root_) + "\\X\\LOGS\\Error.Log", true);
  stream->Write("caf\xE9 ");
  stream->WriteLine("line");
  stream->WriteLine("");
  stream->Close();
  stream->Close();
  EXPECT_EQ(readFile(root_ + "/x/Logs/Error.Log"), "caf\xE9 line\r\n\r\n");
  EXPECT_EQ(failureNumberOf([&] { stream->Write("late"); }), 75);
  EXPECT_EQ(failureNumberOf([&] { stream->WriteLine("late"); }), 75);
}

TEST_F(PosixFileSystemTest, CreateReplacesOrRefusesAndAppendAddsToTheEnd) {
  const std::string runLog = root_ + "/x/Logs/Run.LOG";
  fs_.OpenTextFileForAppending(root_ + "/x/logs/run.log")->WriteLine("more");
  EXPECT_EQ(readFile(runLog), "old\r\nmore\r\n");

  EXPECT_EQ(failureNumberOf([&] { fs_.CreateTextFile(root_ + "/x/logs/run.log", false); }), 58);
  EXPECT_EQ(readFile(runLog), "old\r\nmore\r\n");

  fs_.CreateTextFile(root_ + "/x/logs/run.log", true)->Write("new");
  EXPECT_EQ(readFile(runLog), "new");

  EXPECT_EQ(failureNumberOf([&] { fs_.CreateTextFile(root_ + "/nope/a.log", true); }), 76);
  EXPECT_EQ(failureNumberOf([&] { fs_.OpenTextFileForAppending(root_ + "/x/a.log"); }), 53);
  EXPECT_EQ(failureNumberOf([&] { fs_.OpenTextFileForAppending(root_ + "/nope/a.log"); }), 76);
  EXPECT_EQ(failureNumberOf([&] { fs_.CreateTextFile(runLog + "/a.log", true); }), 76);
}

TEST_F(PosixFileSystemTest, WritesSurviveAnImmediateEndOfTheProcess) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto stream = fs_.CreateTextFile(root_ + "/x/Logs/Dump.xml", true);
    stream->Write("<a/>");
    stream->WriteLine("");
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(readFile(root_ + "/x/Logs/Dump.xml"), "<a/>\r\n");
}

TEST_F(PosixFileSystemTest, ExistenceAndDeletion) {
  EXPECT_TRUE(fs_.FileExists(backslashed(root_) + "\\x\\logs\\run.log"));
  EXPECT_FALSE(fs_.FileExists(root_ + "/x/logs"));
  EXPECT_FALSE(fs_.FileExists(root_ + "/x/logs/none.log"));

  EXPECT_TRUE(fs_.DeleteFile(root_ + "/X/LOGS/RUN.LOG"));
  EXPECT_FALSE(std::filesystem::exists(root_ + "/x/Logs/Run.LOG"));
  EXPECT_TRUE(fs_.DeleteFile(root_ + "/x/Logs/Run.LOG"));  // nothing there any more
  EXPECT_TRUE(fs_.DeleteFile(root_ + "/nope/Run.LOG"));
  EXPECT_FALSE(fs_.DeleteFile(root_ + "/x/logs"));  // a folder is not removed
  EXPECT_TRUE(std::filesystem::exists(root_ + "/x/Logs"));
}

}  // namespace
}  // namespace dks
