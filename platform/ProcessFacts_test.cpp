#include "platform/ProcessFacts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "Version.h"
#include "platform/Failure.h"

namespace dks {
namespace {

class ProcessFactsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "dksr-app-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/bin");
    environment_["HOME"] = root_ + "/home";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  ProcessApp describe(const std::string& executable) {
    return describeProcess(kStandalone, executable, [this](const char* name) -> const char* {
      auto found = environment_.find(name);
      return found == environment_.end() ? nullptr : found->second.c_str();
    });
  }

  static mode_t modeOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }

  std::string root_;
  std::map<std::string, std::string> environment_;
};

TEST_F(ProcessFactsTest, WritableExecutableFolderIsThePath) {
  environment_["DKSR_HOME"] = "";  // empty counts as not set
  ProcessApp app = describe(root_ + "/bin/dks-reconciler");
  EXPECT_EQ(app.Path, root_ + "/bin");
  EXPECT_EQ(app.EXEName, "dks-reconciler");
  EXPECT_FALSE(std::filesystem::exists(root_ + "/home"));
}

TEST_F(ProcessFactsTest, DksrHomeOverridesAndIsCreated) {
  environment_["DKSR_HOME"] = root_ + "/own/home/";
  environment_["XDG_STATE_HOME"] = root_ + "/state";
  EXPECT_EQ(describe(root_ + "/bin/dks-reconciler").Path, root_ + "/own/home");
  EXPECT_EQ(modeOf(root_ + "/own/home"), 0700u);
  EXPECT_FALSE(std::filesystem::exists(root_ + "/state"));

  std::ofstream(root_ + "/file") << "x";
  environment_["DKSR_HOME"] = root_ + "/file/home";
  try {
    describe(root_ + "/bin/dks-reconciler");
    ADD_FAILURE() << "a folder under a file was accepted";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), 76);
  }
}

TEST_F(ProcessFactsTest, UnwritableExecutableFolderFallsBackToTheStateFolder) {
  // A folder that does not exist cannot be written, whoever runs the test.
  const std::string executable = root_ + "/gone/dks-reconciler";
  environment_["XDG_STATE_HOME"] = root_ + "/state/";
  EXPECT_EQ(describe(executable).Path, root_ + "/state/dks-reconciler");
  EXPECT_EQ(modeOf(root_ + "/state/dks-reconciler"), 0700u);

  if (geteuid() != 0) {  // root may write anywhere
    ASSERT_EQ(chmod((root_ + "/bin").c_str(), 0555), 0);
    EXPECT_EQ(describe(root_ + "/bin/dks-reconciler").Path, root_ + "/state/dks-reconciler");
    chmod((root_ + "/bin").c_str(), 0755);
  }

  environment_["XDG_STATE_HOME"] = "relative/state";  // ignored: must be absolute
  EXPECT_EQ(describe(executable).Path, root_ + "/home/.local/state/dks-reconciler");
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/home/.local/state/dks-reconciler"));
}

TEST(ProcessFactsOfThisProcess, DescribeTheRunningExecutable) {
  ProcessApp app = describeProcess(kAutomation);
  EXPECT_EQ(app.EXEName, "dksr_tests");
  EXPECT_FALSE(app.Path.empty());
  EXPECT_NE(app.Path.back(), '/');
  EXPECT_EQ(app.hInstance, getpid());
  EXPECT_EQ(app.StartMode, kAutomation);
  EXPECT_FALSE(app.PrevInstance);
  EXPECT_EQ(app.Major, version::kMajor);
  EXPECT_EQ(app.Minor, version::kMinor);
  EXPECT_EQ(app.Revision, version::kRevision);
  EXPECT_EQ(app.ProductName, "DKS Reconciler");
}

}  // namespace
}  // namespace dks
