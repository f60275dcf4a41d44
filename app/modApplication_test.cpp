#include "app/modApplication.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/RunReport.h"
#include "app/testing/HostFixture.h"
#include "reconcile/clsReconciler.h"

namespace dks {
namespace {

class StartUpTest : public HostFixture {
 protected:
  // A standalone run that counts its calls and gives `result`.
  modApplication::StandaloneRun countingRun(bool result) {
    return [this, result] {
      ++runs;
      return result;
    };
  }
  bool allReleased() const {
    return !gobjUtility && !gcolError && !gobjApplication && !gobjOutlook;
  }
  int runs = 0;
};

TEST_F(StartUpTest, MissingMailClientIsRecordedAndShutsDown) {
  modApplication::Main(platform, countingRun(true));

  EXPECT_EQ(runs, 0);
  EXPECT_EQ(platform.endStatus, kExitNotStarted);
  EXPECT_TRUE(allReleased());
  const std::string record =
      std::string(kStamp) + " modApplication pblnStartUp 429 ActiveX component can't create object";
  EXPECT_EQ(readFileBytes(dir.file("qdmerror.log")),
            logHeader("ERROR LOG") + "\r\n" + record + "\r\n");
  EXPECT_EQ(platform.shownErrors, std::vector<std::string>{record});
  // The application object's termination still reached the utility component.
  const std::string folder = lowerCase(dir.path());
  EXPECT_EQ(platform.utility->deletedFiles,
            (std::vector<std::string>{folder + "\\qdmerror.log", folder + "\\vezezodirerozer.log",
                                      folder + "\\qdmrequest.xml", folder + "\\qdmresponse.xml",
                                      folder + "\\qdmrequest.xml", folder + "\\qdmresponse.xml"}));
  EXPECT_EQ(platform.utility->value(kAppKey, "Started"), Variant{std::string()});
}

TEST_F(StartUpTest, StandaloneRunsOnceThenShutsDownAndEnds) {
  platform.outlook = [] { return std::make_shared<AutomationObject>(); };
  modApplication::Main(platform, countingRun(true));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(platform.endStatus, kExitRunSucceeded);
  EXPECT_TRUE(allReleased());

  modApplication::Main(platform, countingRun(false));
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(platform.endStatus, kExitRunFailed);
}

TEST_F(StartUpTest, StandaloneReconcilerRunsOverAnEmptyIncludeSetAndSucceeds) {
  platform.outlook = [] { return std::make_shared<AutomationObject>(); };
  std::ostringstream out;
  auto report = std::make_shared<RunReport>(out, out, false, false);
  modApplication::Main(platform, [&] { return modApplication::reconcileStandalone(report); });
  EXPECT_EQ(platform.endStatus, kExitRunSucceeded);
  EXPECT_EQ(out.str(),
            "run: succeeded; 0 include folders; 0 documents listed; 0 items walked in the Inbox, "
            "0 in the Sent Items; 0 new, 0 resave, 0 delete; requests sent/failed: save 0/0, "
            "move document 0/0, update usage 0/0, delete 0/0; 0 error records added\n");
  ASSERT_NE(gobjReconciler, nullptr);
  EXPECT_EQ(gobjReconciler->Include()->Count(), 0);
  EXPECT_TRUE(allReleased());
  EXPECT_TRUE(platform.shownErrors.empty());
  EXPECT_EQ(platform.utility->value(kAppKey, "Started"), Variant{std::string(kStamp)});
  EXPECT_EQ(platform.utility->value(kAppKey, "Finished"), Variant{std::string(kStamp)});
  gobjReconciler.reset();
}

TEST_F(StartUpTest, AutomationReturnsWithTheProcessWideObjectsAlive) {
  platform.app.StartMode = kAutomation;
  platform.outlook = [] { return std::make_shared<AutomationObject>(); };
  modApplication::Main(platform, countingRun(true));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(platform.endStatus, std::nullopt);
  EXPECT_TRUE(gobjUtility && gcolError && gobjApplication && gobjOutlook);
  EXPECT_EQ(gobjReconciler, nullptr);

  EXPECT_TRUE(modApplication::pblnShutDown());
  EXPECT_TRUE(allReleased());
  EXPECT_TRUE(modApplication::pblnShutDown());  // a second call finds nothing to release
}

TEST_F(StartUpTest, AnotherInstanceCreatesNothing) {
  platform.app.PrevInstance = true;
  modApplication::Main(platform, countingRun(true));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(platform.endStatus, kExitNotStarted);
  EXPECT_TRUE(platform.utility->deletedFiles.empty());
  EXPECT_EQ(platform.utility->value(kAppKey, "Started"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(StartUpTest, UtilityThatCannotBeCreatedEndsStartUpWithoutARecord) {
  platform.failUtility = true;
  modApplication::Main(platform, countingRun(true));
  EXPECT_EQ(platform.endStatus, kExitNotStarted);
  EXPECT_TRUE(platform.shownErrors.empty());
  EXPECT_TRUE(allReleased());
}

}  // namespace
}  // namespace dks
