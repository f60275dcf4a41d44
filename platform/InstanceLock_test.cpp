#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/Failure.h"
#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

TEST(InstanceLockTest, OneHolderPerHiveUntilReleased) {
  TempFolder folder;
  const std::string hive = folder.path() + "/config/dks-reconciler/registry.db";
  auto first = InstanceLock::acquire(hive);
  ASSERT_NE(first, nullptr);
  struct stat info;
  ASSERT_EQ(stat((hive + ".lock").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  EXPECT_EQ(InstanceLock::acquire(hive), nullptr);  // flock holds against a second open too
  EXPECT_NE(InstanceLock::acquire(folder.path() + "/other.db"), nullptr);
  first.reset();
  EXPECT_NE(InstanceLock::acquire(hive), nullptr);
}

TEST(InstanceLockTest, AFolderThatCannotBeMadeIsAFailure) {
  TempFolder folder;
  std::ofstream(folder.path() + "/file") << "x";
  EXPECT_THROW(InstanceLock::acquire(folder.path() + "/file/registry.db"), Failure);
}

}  // namespace
}  // namespace dks
