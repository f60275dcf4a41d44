#include "app/ScanCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/testing/HostFixture.h"
#include "platform/testing/FakeOutlook.h"

namespace dks {
namespace {

// Inbox with one item and a sub-folder "Projects" with one item; no Sent Items folder.
class ScanTest : public HostFixture {
 protected:
  ScanTest() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    createUtilityAndErrors();
    auto top = FakeFolder::make("Personal Folders", "T0", ns);
    auto inbox = FakeFolder::make("Inbox", "F6", top);
    auto projects = FakeFolder::make("Projects", "F7", inbox);
    inbox->items.push_back(fakeMailItem(inbox));
    auto second = fakeMailItem(projects);
    second->set("Subject", std::string("Tab\there"));
    second->set("SentOn", Failure::objectNotFound());
    projects->items.push_back(second);
    inbox->folders.push_back(projects);
    ns->defaultFolders[6] = inbox;
  }
  ~ScanTest() override {
    ::unsetenv("TZ");
    ::tzset();
  }

  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<AutomationObject> app = std::make_shared<FakeApplication>(ns);
  std::ostringstream out, err;
};

TEST_F(ScanTest, PrintsFolderFactsThenOneRowPerItemDepthFirst) {
  EXPECT_EQ(printScan(app, true, out, err), 1);  // there is no Sent Items folder
  const std::string columns =
      "Folder\tEntryID\tSubject\tCreationTime\tModificationTime\tReceivedTime\tSentOn\tSize\t"
      "UnRead\tSent\tSensitivity\tConversationTopic\tConversationIndex\tParent\tParentEntryID\t"
      "ParentStoreID\n";
  EXPECT_EQ(out.str(),
            "# Folder 6\tEntryID=F6\tFolderPath=Personal Folders\\Inbox\tName=Inbox\tParent=\t"
            "ParentEntryID=T0\tParentStoreID=S1\n" +
                columns +
                "Personal Folders\\Inbox\t00AB\tHello\t09/03/2002 14:06:07\t09/03/2002 14:10:00\t"
                "09/03/2002 14:06:07\t09/03/2002 14:05:07\t2048\tFalse\tTrue\t2\tHello\t01C1C7A2\t"
                "Personal Folders\\Inbox\tF6\tS1\n"
                "Inbox\\Projects\t00AB\tTab here\t09/03/2002 14:06:07\t09/03/2002 14:10:00\t"
                "09/03/2002 14:06:07\t\t2048\tFalse\tTrue\t2\tHello\t01C1C7A2\tInbox\\Projects\t"
                "F7\tS1\n"
                "# 2 folders, 2 items\n");
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{errorLine("clsFolder", "pblnGetDefault", -2147024809,
                                               "One or more parameter values are not valid.")});
}

TEST_F(ScanTest, WithoutSubFoldersOnlyTheDefaultFoldersAreRead) {
  ns->defaultFolders[5] = FakeFolder::make("Sent Items", "F5", ns->defaultFolders[6]->Parent());
  EXPECT_EQ(printScan(app, false, out, err), 0);
  EXPECT_NE(out.str().find("# Folder 5\tEntryID=F5\tFolderPath=Personal Folders\\Sent Items"),
            std::string::npos);
  EXPECT_NE(out.str().find("# 2 folders, 1 items\n"), std::string::npos);
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace dks
