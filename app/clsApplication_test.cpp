#include "app/clsApplication.h"

#include <gtest/gtest.h>

#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"

namespace dks {
namespace {

class ApplicationSettingsTest : public HostFixture {};

TEST_F(ApplicationSettingsTest, EmptyHiveKeepsEveryDefaultAndDeletesThePreviousRunFiles) {
  for (const char* name :
       {"qdmerror.log", "vezezodirerozer.log", "qdmrequest.xml", "qdmresponse.xml"})
    writeFileBytes(dir.file(name), "left by the previous run");

  clsApplication& app = startHost();

  EXPECT_EQ(app.Action(), 15);
  EXPECT_EQ(app.DebugLevel(), 0);
  EXPECT_EQ(app.ExecutableName(), "dks-reconciler.dll");
  EXPECT_EQ(app.Script(), "http://localhost:8080/updateDocumentStatus");
  EXPECT_EQ(app.URN(), "Schemas-xmlsoap-org:soap.v1");
  EXPECT_EQ(app.UserID(), 1);
  EXPECT_EQ(app.State(), 1);
  EXPECT_EQ(gcolError->Count(), 0);
  const std::string folder = lowerCase(dir.path());
  EXPECT_EQ(platform.utility->deletedFiles,
            (std::vector<std::string>{folder + "\\qdmerror.log", folder + "\\vezezodirerozer.log",
                                      folder + "\\qdmrequest.xml", folder + "\\qdmresponse.xml"}));
  // The lower-cased paths reach the files although the folder's name has upper-case letters.
  for (const char* name :
       {"qdmerror.log", "vezezodirerozer.log", "qdmrequest.xml", "qdmresponse.xml"})
    EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
  EXPECT_EQ(platform.utility->value(kAppKey, "Started"), Variant{std::string()});
  EXPECT_EQ(platform.utility->value(kAppKey, "Finished"), Variant{std::string()});
  EXPECT_EQ(platform.utility->value(kAppKey, "State"), std::nullopt);
}

TEST_F(ApplicationSettingsTest, StoredValuesTakeTheirStoredFormsAndClamps) {
  auto& utility = *platform.utility;
  utility.setValue(kSharedKey, "Host", std::string("  HTTP://Dks.Example  "));
  utility.setValue(kSharedKey, "Port", std::string(" 9090 "));
  utility.setValue(kSharedKey, "UserID", int32_t{-5});
  utility.setValue(kAppKey, "Debug", int32_t{9});
  utility.setValue(kAppKey, "Action", std::string("2"));
  utility.setValue(kAppKey, "Script", std::string("  dks/update  "));
  utility.setValue(kAppKey, "URN", std::string("my URN space"));
  utility.setValue(kAppKey, "LogFile", std::string(" /Var/Log/Run.LOG "));
  utility.setValue(kAppKey, "State", int32_t{2});

  clsApplication& app = startHost();

  EXPECT_EQ(app.Host(), "http://dks.example");
  EXPECT_EQ(app.Port(), "9090");
  EXPECT_EQ(app.UserID(), 1);
  EXPECT_EQ(app.DebugLevel(), 4);
  EXPECT_EQ(app.Action(), 2);
  EXPECT_EQ(app.Script(), "http://dks.example:9090/dks/update");
  EXPECT_EQ(app.URN(), "My Urn Space");
  EXPECT_EQ(app.LogFile(), "/var/log/run.log");
  EXPECT_EQ(app.State(), 2);

  utility.setValue(kAppKey, "Debug", int32_t{-1});
  utility.setValue(kSharedKey, "UserID", int32_t{0});
  utility.setValue(kAppKey, "Script", std::string("    "));
  // A State left running by an interrupted run is read as the default, and not written back.
  utility.setValue(kAppKey, "State", int32_t{5});
  EXPECT_TRUE(app.pblnReset());
  EXPECT_EQ(app.DebugLevel(), 0);
  EXPECT_EQ(app.UserID(), 1);
  EXPECT_EQ(app.Script(), "http://localhost:8080/updateDocumentStatus");  // the default's own Host
  EXPECT_EQ(app.State(), 1);
  EXPECT_EQ(utility.value(kAppKey, "State"), Variant{int32_t{5}});
}

TEST_F(ApplicationSettingsTest, UnknownApplicationKeyLoadsOnlyTheSharedSettings) {
  auto& utility = *platform.utility;
  utility.failingKeyIds = {41};
  utility.setValue(kSharedKey, "UserID", int32_t{7});
  utility.setValue(kSharedKey, "Host", std::string("http://server"));
  utility.setValue(kSharedKey, "Port", std::string("81"));
  utility.setValue(kAppKey, "Debug", int32_t{3});

  clsApplication& app = startHost();

  EXPECT_FALSE(app.pblnReset());
  EXPECT_EQ(app.UserID(), 7);
  EXPECT_EQ(app.Host(), "http://server");
  EXPECT_EQ(app.Port(), "81");
  EXPECT_EQ(app.DebugLevel(), 0);
  EXPECT_EQ(app.Script(), "http://localhost:8080/updateDocumentStatus");  // built before loading
  EXPECT_TRUE(utility.deletedFiles.empty());
  EXPECT_EQ(gcolError->Count(), 0);  // a plain False is no error record
}

TEST_F(ApplicationSettingsTest, ValueThatIsNoNumberIsRecordedAndStopsLoading) {
  platform.utility->setValue(kAppKey, "Debug", std::string("verbose"));
  platform.utility->setValue(kAppKey, "ErrorLog", std::string("/elsewhere/errors.log"));
  clsApplication& app = startHost();

  EXPECT_FALSE(app.pblnReset());
  EXPECT_EQ(errorLines(), (std::vector<std::string>{
                              std::string(kStamp) + " clsApplication pblnReset 13 Type mismatch",
                              std::string(kStamp) + " clsApplication pblnReset 13 Type mismatch"}));
  EXPECT_EQ(app.ErrorLog(), lowerCase(dir.path()) + "\\qdmerror.log");  // read after "\Debug"
  EXPECT_TRUE(platform.utility->deletedFiles.empty());
}

TEST_F(ApplicationSettingsTest, FlagsAreReadFromTheRegistryOnEveryCall) {
  clsApplication& app = startHost();
  EXPECT_EQ(app.Flags(), 0);
  platform.utility->setValue(kAppKey, "Flags", int32_t{999});
  EXPECT_EQ(app.Flags(), 999);
  app.setFlags(-3);
  EXPECT_EQ(platform.utility->value(kAppKey, "Flags"), Variant{int32_t{0}});

  platform.utility->setValue(kAppKey, "Flags", std::string("x"));
  EXPECT_EQ(app.Flags(), 0);
  EXPECT_EQ(errorLines(), std::vector<std::string>{std::string(kStamp) +
                                                   " clsApplication Flags 13 Type mismatch"});

  platform.utility->failingKeyIds = {41};
  app.setFlags(1);
  EXPECT_EQ(app.Flags(), 0);  // lost: the key is not known
}

TEST(VersionNumberTest, EachPartIsCutToItsLastTwoDigits) {
  EXPECT_EQ(versionNumberText(1, 0, 5), "01.00.05");
  EXPECT_EQ(versionNumberText(100, 7, 123), "00.07.23");
}

using RunLogTest = HostFixture;

TEST_F(RunLogTest, LevelZeroOrNoTimeStampWritesNoFileAndRecordsNothing) {
  clsApplication& app = startAtDebugLevel(0);
  EXPECT_TRUE(app.pblnLog("Include"));
  app.setDebugLevel(dlTwo);
  platform.utility->failTimeStamp = true;
  EXPECT_FALSE(app.pblnLog("Include"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("vezezodirerozer.log")));
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(RunLogTest, HeaderThenStampedCommentAndEmptyLines) {
  clsApplication& app = startAtDebugLevel(1);
  EXPECT_TRUE(app.pblnLog("Include"));
  EXPECT_TRUE(app.pblnLog("   ' a comment, kept as it is  "));
  EXPECT_TRUE(app.pblnLog("    "));
  EXPECT_TRUE(app.pblnLog("  Emails=2  "));
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + kStamp + ", Include\r\n" +
                          "' a comment, kept as it is\r\n" + "\r\n" + kStamp + ", Emails=2\r\n");
}

TEST_F(RunLogTest, FileRemovedWhileRunningStartsAgainWithAHeader) {
  clsApplication& app = startAtDebugLevel(1);
  app.pblnLog("first");
  std::filesystem::remove(dir.file("vezezodirerozer.log"));
  app.pblnLog("second");
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + kStamp + ", second\r\n");
}

TEST_F(RunLogTest, MissingFolderIsRecordedAndTheNextCallTriesAgain) {
  platform.utility->setValue(kAppKey, "LogFile", dir.file("later/run.log"));
  clsApplication& app = startAtDebugLevel(1);
  EXPECT_FALSE(app.pblnLog("Include"));
  EXPECT_EQ(errorLines(), std::vector<std::string>{std::string(kStamp) +
                                                   " clsApplication pblnLog 76 Path not found"});
  std::filesystem::create_directory(dir.file("later"));
  EXPECT_TRUE(app.pblnLog("Include"));
  EXPECT_EQ(readFileBytes(dir.file("later/run.log")),
            logHeader("DKS RECONCILER LOG") + kStamp + ", Include\r\n");
}

}  // namespace
}  // namespace dks
