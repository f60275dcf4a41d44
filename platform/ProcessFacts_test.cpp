#include "platform/ProcessFacts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "Version.h"
#include "platform/Failure.h"
#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

class ProcessFactsTest : public testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(root_ + "/bin"); }

  std::string pathFor(const std::string& executable) {
    return describeProcess(kStandalone, executable,
                           [this](const char* name) -> const char* {
                             auto found = environment_.find(name);
                             return found == environment_.end() ? nullptr : found->second.c_str();
                           })
        .Path;
  }

  static mode_t modeOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }

  TempFolder folder_;
  const std::string root_ = folder_.path();
  std::map<std::string, std::string> environment_{{"HOME", root_ + "/home"}};
};

TEST_F(ProcessFactsTest, DksrHomeOverridesTheExecutableFolder) {
  environment_["DKSR_HOME"] = "";  // empty counts as not set
  EXPECT_EQ(pathFor(root_ + "/bin/dks-reconciler"), root_ + "/bin");

  environment_["DKSR_HOME"] = root_ + "/own/home/";
  EXPECT_EQ(pathFor(root_ + "/bin/dks-reconciler"), root_ + "/own/home");
  EXPECT_EQ(modeOf(root_ + "/own/home"), 0700u);

  std::ofstream(root_ + "/file") << "x";
  environment_["DKSR_HOME"] = root_ + "/file/home";
  EXPECT_THROW(pathFor(root_ + "/bin/dks-reconciler"), Failure);
}

TEST_F(ProcessFactsTest, UnwritableExecutableFolderFallsBackToTheStateFolder) {
  // A folder that does not exist cannot be written, whoever runs the test.
  environment_["XDG_STATE_HOME"] = root_ + "/state/";
  EXPECT_EQ(pathFor(root_ + "/gone/dks-reconciler"), root_ + "/state/dks-reconciler");
  EXPECT_EQ(modeOf(root_ + "/state/dks-reconciler"), 0700u);
  environment_["XDG_STATE_HOME"] = "relative/state";  // ignored: must be absolute
  EXPECT_EQ(pathFor(root_ + "/gone/dks-reconciler"), root_ + "/home/.local/state/dks-reconciler");
}

}  // namespace
}  // namespace dks
