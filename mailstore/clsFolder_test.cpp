#include "mailstore/clsFolder.h"

#include <gtest/gtest.h>

#include "app/testing/HostFixture.h"
#include "platform/testing/FakeOutlook.h"

namespace dks {
namespace {

// A store whose top folder "Personal Folders" stands right under the name space, with the
// Inbox (6) below it and "Projects" below the Inbox.
class ClsFolderTest : public HostFixture {
 protected:
  ClsFolderTest() {
    createUtilityAndErrors();
    top = FakeFolder::make("Personal Folders", "T0", ns, "S0");
    inbox = FakeFolder::make("Inbox", "F6", top);
    projects = FakeFolder::make("Projects", "F7", inbox);
    ns->defaultFolders[6] = inbox;
    ns->byID = {inbox, projects};
  }

  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<AutomationObject> app = std::make_shared<FakeApplication>(ns);
  std::shared_ptr<FakeFolder> top, inbox, projects;
  std::shared_ptr<OutlookFolder> opened;
  clsFolder folder;
};

TEST_F(ClsFolderTest, DefaultFolderUnderTheTopFolderKeepsParentWithoutRecord) {
  folder.setParent("  earlier  ");
  folder.setStoreID("S9");
  ASSERT_TRUE(folder.pblnGetDefault(app, 6, opened));
  EXPECT_EQ(opened, inbox);
  EXPECT_EQ(folder.EntryID(), "F6");
  EXPECT_EQ(folder.FolderPath(), "Personal Folders\\Inbox");
  EXPECT_EQ(folder.Name(), "Inbox");
  EXPECT_EQ(folder.Parent(), "earlier");  // the name space above the top folder has no text
  EXPECT_EQ(folder.ParentEntryID(), "T0");
  EXPECT_EQ(folder.ParentStoreID(), "S0");
  EXPECT_EQ(folder.StoreID(), "S9");
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(ClsFolderTest, FromIDRequiresEveryParentFact) {
  folder.setEntryID("F6");
  folder.setStoreID("S1");
  EXPECT_FALSE(folder.pblnGetFromID(app, opened));
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{errorLine("clsFolder", "pblnGetFromID", 438,
                                               "Object doesn't support this property or method")});
  EXPECT_EQ(folder.FolderPath(), "Personal Folders\\Inbox");
  EXPECT_EQ(folder.Name(), "Inbox");
  EXPECT_EQ(folder.Parent(), "");

  folder.setEntryID(" f7 ");
  ASSERT_TRUE(folder.pblnGetFromID(app, opened));
  EXPECT_EQ(opened, projects);
  EXPECT_EQ(folder.FolderPath(), "Inbox\\Projects");
  EXPECT_EQ(folder.Parent(), "Personal Folders\\Inbox");
  EXPECT_EQ(folder.ParentEntryID(), "F6");
  EXPECT_EQ(folder.ParentStoreID(), "S1");
}

TEST_F(ClsFolderTest, MissingArgumentsAreRecordedWithoutCallingTheMailClient) {
  folder.setName("  Kept  ");
  EXPECT_FALSE(folder.pblnGetDefault(nullptr, 6, opened));
  folder.setEntryID("   ");
  folder.setStoreID("S1");
  EXPECT_FALSE(folder.pblnGetFromID(app, opened));
  folder.setEntryID("F6");
  folder.setStoreID("");
  EXPECT_FALSE(folder.pblnGetFromID(app, opened));
  EXPECT_EQ(ns->calls, 0);
  EXPECT_EQ(folder.Name(), "Kept");
  auto missing = [](const char* procedure) {
    return errorLine("clsFolder", procedure, -99987, "Parameter missing");
  };
  EXPECT_EQ(errorLines(),
            (std::vector<std::string>{missing("pblnGetDefault"), missing("pblnGetFromID"),
                                      missing("pblnGetFromID")}));
}

TEST_F(ClsFolderTest, MailClientFailuresReachTheCallerAsOneRecord) {
  EXPECT_FALSE(folder.pblnGetDefault(app, 99, opened));
  folder.setEntryID("nowhere");
  folder.setStoreID("S1");
  EXPECT_FALSE(folder.pblnGetFromID(app, opened));
  EXPECT_FALSE(folder.pblnGetDefault(std::make_shared<AutomationObject>(), 6, opened));
  ASSERT_EQ(gcolError->Count(), 3);
  auto number = [](int32_t position) { return toLong(gcolError->Item(position)->Number()); };
  EXPECT_EQ(number(1), -2147024809);
  EXPECT_EQ(number(2), -2147221233);
  EXPECT_EQ(number(3), 438);
  EXPECT_TRUE(folder.pblnReset());
  EXPECT_EQ(folder.EntryID() + folder.StoreID() + folder.FolderPath(), "");
}

}  // namespace
}  // namespace dks
