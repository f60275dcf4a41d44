#include "reconcile/clsReconciler.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"

namespace dks {
namespace {

const std::string kIncludeKey = std::string(kAppKey) + "\\Include";

// A utility component that keeps the name and value of every registry write, in order, and can
// fail the n-th time stamp.
class RunUtility : public FakeUtility {
 public:
  using FakeUtility::FakeUtility;
  bool GetTimeStamp(std::string& stampText) override {
    if (++stamps == failingStamp) return false;
    return FakeUtility::GetTimeStamp(stampText);
  }
  bool WriteValue(uint32_t root, const std::string& valuePath, const Variant& value,
                  int32_t valueType) override {
    writes.push_back(valuePath.substr(valuePath.rfind('\\') + 1) + "=" + toText(value));
    return FakeUtility::WriteValue(root, valuePath, value, valueType);
  }
  int stamps = 0;
  int failingStamp = 0;
  std::vector<std::string> writes;
};

class ReconcilerTest : public HostFixture {
 protected:
  ReconcilerTest() {
    utility->stamp = kStamp;
    platform.utility = utility;
  }

  /// Starts the host with `state` as the application's State and forgets what start-up wrote.
  void start(int32_t state) {
    startHost().setState(state);
    utility->writes.clear();
    utility->stamps = 0;
  }

  std::shared_ptr<RunUtility> utility =
      std::make_shared<RunUtility>(std::make_shared<PosixFileSystem>());
};

TEST_F(ReconcilerTest, AnEmptyIncludeSetClosesTheRunByTheFlags) {
  struct Case {
    int32_t state;
    int32_t flags;
    int32_t closedState;
    std::vector<std::string> writes;
  };
  const std::string started = std::string("Started=") + kStamp;
  const std::string finished = std::string("Finished=") + kStamp;
  const Case cases[] = {
      {1, 999, rsDefault, {started, "State=5", "Flags=0", "State=1", finished}},
      {5, 1000, rsDefault, {started, "State=9", "State=1", finished}},
      {1, 1, rsUser, {started, "State=5", "Flags=0", "State=2", finished}},
      {2, 1998, rsDefault, {started, "State=6", "State=1", finished}},
      {1, 0, rsDefault, {started, "State=5", "State=1", finished}},
  };
  for (const Case& c : cases) {
    start(c.state);
    // Stored after the application object loaded its settings: Flags is read at the run.
    utility->setValue(kAppKey, "Flags", c.flags);
    clsReconciler reconciler;
    EXPECT_TRUE(reconciler.pblnReconcile()) << c.flags;
    EXPECT_EQ(utility->writes, c.writes) << c.flags;
    EXPECT_EQ(reconciler.State(), c.closedState);
    modApplication::pblnShutDown();
  }
}

TEST_F(ReconcilerTest, AFailedTimeStampEndsTheRun) {
  utility->setValue(kAppKey, "Flags", int32_t{1});
  start(5);
  clsReconciler reconciler;

  // The first: nothing is changed.
  utility->failTimeStamp = true;
  EXPECT_FALSE(reconciler.pblnReconcile());
  EXPECT_TRUE(utility->writes.empty());
  EXPECT_EQ(reconciler.State(), 5);
  utility->failTimeStamp = false;

  // The second: the flags and the state are written already, Finished is not.
  utility->stamps = 0;
  utility->failingStamp = 2;
  EXPECT_FALSE(reconciler.pblnReconcile());
  EXPECT_EQ(utility->writes, (std::vector<std::string>{std::string("Started=") + kStamp, "State=9",
                                                       "Flags=0", "State=2"}));
  // A utility call that reports failure is no error record.
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(ReconcilerTest, RunTimeFailuresAreRecorded) {
  createUtilityAndErrors();
  clsReconciler reconciler;
  EXPECT_FALSE(reconciler.pblnReconcile());
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{errorLine("clsReconciler", "pblnReconcile", 91,
                                               "Object variable or With block variable not set")});

  gobjApplication = std::make_shared<clsApplication>(platform);
  gobjApplication->setState(std::numeric_limits<int32_t>::max());
  utility->writes.clear();
  EXPECT_FALSE(reconciler.pblnReconcile());
  EXPECT_EQ(utility->writes, std::vector<std::string>{std::string("Started=") + kStamp});
  EXPECT_EQ(errorLines().back(), errorLine("clsReconciler", "pblnReconcile", 6, "Overflow"));
}

TEST_F(ReconcilerTest, TheIncludeSetIsLoadedAtCreationAndByResetOnly) {
  start(1);
  clsReconciler reconciler;
  const auto include = reconciler.Include();
  utility->setValue(kIncludeKey + "\\Inbox#1", "Folder", std::string("Inbox"));
  EXPECT_TRUE(reconciler.pblnReconcile());
  EXPECT_EQ(include->Count(), 0);

  EXPECT_TRUE(reconciler.pblnReset());
  EXPECT_EQ(reconciler.Include(), include);
  EXPECT_EQ(include->Count(), 1);
}

}  // namespace
}  // namespace dks
