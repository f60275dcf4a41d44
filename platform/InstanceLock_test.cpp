#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Failure.h"

namespace dks {
namespace {

class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "dksr-lock-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::string root_;
};

TEST_F(InstanceLockTest, OneHolderPerHiveUntilReleased) {
  const std::string hive = root_ + "/config/dks-reconciler/registry.db";
  auto first = InstanceLock::acquire(hive);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/config/dks-reconciler"));
  struct stat info;
  ASSERT_EQ(stat((hive + ".lock").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  EXPECT_EQ(InstanceLock::acquire(hive), nullptr);
  first.reset();
  EXPECT_NE(InstanceLock::acquire(hive), nullptr);
}

TEST_F(InstanceLockTest, AnotherProcessSeesTheLockHeld) {
  const std::string hive = root_ + "/registry.db";
  auto held = InstanceLock::acquire(hive);
  ASSERT_NE(held, nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    _exit(InstanceLock::acquire(hive) == nullptr ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(InstanceLockTest, DifferentHivesDoNotBlockEachOther) {
  auto first = InstanceLock::acquire(root_ + "/one.db");
  auto second = InstanceLock::acquire(root_ + "/two.db");
  EXPECT_NE(first, nullptr);
  EXPECT_NE(second, nullptr);
}

TEST_F(InstanceLockTest, AFolderThatCannotBeMadeIsAFailure) {
  std::ofstream(root_ + "/file") << "x";
  try {
    InstanceLock::acquire(root_ + "/file/registry.db");
    ADD_FAILURE() << "a lock under a file was taken";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), 76);
  }
}

}  // namespace
}  // namespace dks
