// The executable as a user starts it: its exit statuses and what it leaves behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "platform/Hive.h"
#include "platform/HiveUtility.h"
#include "platform/InstanceLock.h"
#include "platform/PosixFileSystem.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

class ExecutableTest : public ::testing::Test {
 protected:
  /// Runs the executable with `arguments` on `hive`, its program folder `home`; the exit status.
  int run(const std::string& arguments, const std::string& hive, const std::string& home) {
    std::string command = "DKSR_HIVE='" + hive + "' DKSR_HOME='" + home + "' MAILDIR='" + maildir +
                          "' " + DKSR_EXECUTABLE + " " + arguments + " >'" + dir.file("stdout") +
                          "' 2>'" + dir.file("stderr") + "'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Variant storedValue(const std::string& hive, const std::string& name) {
    HiveUtility utility(Hive::open(hive), std::make_shared<PosixFileSystem>());
    Variant value;
    EXPECT_TRUE(utility.ReadValue(HKEY_CURRENT_USER, "Software\\DKS\\Reconciler\\" + name,
                                  std::string("not stored"), value));
    return value;
  }

  TempFolder dir;
  /// The mail store; tests that want one make it.
  std::string maildir = dir.file("Maildir");
};

TEST_F(ExecutableTest, RunWithoutAMailStoreRecordsTheStartUpFailure) {
  const std::string hive = dir.file("config/registry.db");
  EXPECT_EQ(run("run", hive, dir.path()), 2);

  EXPECT_EQ(storedValue(hive, "Started"), Variant{std::string()});
  const std::string record =
      " modApplication pblnStartUp 429 ActiveX component can't create object";
  EXPECT_NE(readFileBytes(dir.file("qdmerror.log")).find(record + "\r\n"), std::string::npos);
  EXPECT_NE(readFileBytes(dir.file("stderr")).find(record), std::string::npos);
}

TEST_F(ExecutableTest, RunWithAMailStoreAndNoIncludeFoldersSucceeds) {
  const std::string hive = dir.file("registry.db");
  makeMaildir(maildir);
  EXPECT_EQ(run("run", hive, dir.path()), 0);

  const Variant started = storedValue(hive, "Started");
  EXPECT_EQ(toText(started).size(), 19u) << toText(started);
  EXPECT_EQ(toText(storedValue(hive, "Finished")).size(), 19u);
  EXPECT_EQ(storedValue(hive, "State"), Variant{int32_t{1}});
  EXPECT_EQ(readFileBytes(dir.file("stderr")), "");
}

TEST_F(ExecutableTest, SecondInstanceOnTheSameHiveCreatesNothing) {
  const std::string hive = dir.file("registry.db");
  auto lock = InstanceLock::acquire(hive);
  ASSERT_NE(lock, nullptr);
  const std::string home = dir.file("home");
  ASSERT_TRUE(std::filesystem::create_directory(home));

  EXPECT_EQ(run("run", hive, home), 2);
  EXPECT_TRUE(std::filesystem::is_empty(home));
  EXPECT_FALSE(std::filesystem::exists(hive));

  EXPECT_EQ(run("", dir.file("other.db"), home), 2);  // another hive is not held
  EXPECT_TRUE(std::filesystem::exists(dir.file("home/qdmerror.log")));
}

}  // namespace
}  // namespace dks
