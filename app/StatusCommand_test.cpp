#include "app/StatusCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/PosixFileSystem.h"
#include "platform/testing/FakePlatform.h"
#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

TEST(StatusTest, StateIsShownWithItsMemberNames) {
  EXPECT_EQ(stateMemberNames(1), "rsDefault");
  EXPECT_EQ(stateMemberNames(5), "rsDefault+rsRunning");
  EXPECT_EQ(stateMemberNames(9), "rsDefault+rsPaused");
  EXPECT_EQ(stateMemberNames(18), "rsUser+16");
  EXPECT_EQ(stateMemberNames(0), "none");
}

TEST(StatusTest, ProgressMarksAndErrorLogAsTheyStand) {
  TempFolder dir;
  FakePlatform platform(dir.path());
  platform.utility->setValue("Software\\DKS\\Reconciler", "Started",
                             std::string("05/12/2026 10:00:00"));
  platform.utility->setValue("Software\\DKS\\Reconciler", "State", int32_t{5});
  platform.utility->setValue("Software\\DKS\\Reconciler", "Flags", int32_t{999});
  platform.utility->setValue("Software\\DKS\\Reconciler", "ErrorLog", dir.file("Errors.LOG"));
  writeFileBytes(dir.file("Errors.LOG"),
                 std::string(8, '\n') + "\r\n" + "s o p 1 d\r\n" + "s o p 2 e\r\n");
  PosixFileSystem fileSystem;
  std::ostringstream out;

  EXPECT_EQ(showStatus(*platform.utility, platform.app, fileSystem, out), 0);

  EXPECT_EQ(out.str(),
            "Started\t05/12/2026 10:00:00\n"
            "Finished\t\n"
            "State\t5 (rsDefault+rsRunning)\n"
            "Flags\t999\n"
            "ErrorLog\t" +
                dir.file("Errors.LOG") + " (2 records)\n");
}

}  // namespace
}  // namespace dks
