// The tree walk of an include folder over a scripted mail store; times in UTC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/LogHeader.h"
#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "platform/testing/FakeOutlook.h"
#include "reconcile/clsInclude.h"

namespace dks {
namespace {

constexpr std::time_t kTen = 1014976800;  // 01/03/2002 10:00:00 UTC
constexpr const char* kTenText = "01/03/2002 10:00:00";

class IncludeTreeWalkTest : public HostFixture {
 protected:
  IncludeTreeWalkTest() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    startHost();
    include = std::make_unique<clsInclude>();
    top = FakeFolder::make("Personal Folders", "T0", ns);
    inbox = FakeFolder::make("Inbox", "F6", top);
  }
  ~IncludeTreeWalkTest() override {
    ::unsetenv("TZ");
    ::tzset();
  }

  /// A sub-folder `name` of `parent`.
  static std::shared_ptr<FakeFolder> folderIn(const std::shared_ptr<FakeFolder>& parent,
                                              const std::string& name) {
    parent->folders.push_back(FakeFolder::make(name, "F-" + name, parent));
    return std::static_pointer_cast<FakeFolder>(parent->folders.back());
  }

  /// A mail item in `folder` with `entryID`, last modified at `modified`.
  static std::shared_ptr<FakeObject> itemIn(const std::shared_ptr<FakeFolder>& folder,
                                            const std::string& entryID,
                                            std::time_t modified = kTen) {
    auto item = fakeMailItem(folder);
    item->set("EntryID", entryID);
    item->set("LastModificationTime", OutlookDate{modified});
    folder->items.push_back(item);
    return item;
  }

  /// A record as the listing makes it for the document `id` at `location`, dated `date`.
  void listed(const std::string& id, const std::string& location, const std::string& date = "") {
    include->MailItems()->Add("", id);
    clsItem& record = *include->MailItems()->Item(include->MailItems()->Count());
    record.setPreviousLocation("dkemail://" + location);
    record.setPreviousDate(date);
  }

  /// Every record as "PreviousLocation|EntryID|" with "resave" when it is marked.
  std::vector<std::string> records() const {
    std::vector<std::string> result;
    for (const auto& record : include->MailItems()->NewEnum())
      result.push_back(record->PreviousLocation() + "|" + record->EntryID() + "|" +
                       (record->Resave() ? "resave" : ""));
    return result;
  }

  std::unique_ptr<clsInclude> include;
  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<FakeFolder> top, inbox;
};

TEST_F(IncludeTreeWalkTest, AListedDocumentIsResavedWhenItsMailItemChangedInALaterMinute) {
  listed("1", "E1", kTenText);
  itemIn(inbox, "E1", kTen + 59);
  listed("2", "ab02", "01/03/2002 10:00:59");
  itemIn(inbox, "AB02", kTen + 60);
  listed("3", "E3");
  itemIn(inbox, "E3", kTen + 86400);
  listed("4", "E4", kTenText);
  itemIn(inbox, "E4", kTen - 3600);
  listed("5", "E5", kTenText);

  EXPECT_TRUE(include->pblnTreeWalk(inbox));
  EXPECT_EQ(records(),
            (std::vector<std::string>{"E1|E1|", "ab02|AB02|resave", "E3|E3|", "E4|E4|", "E5||"}));
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(IncludeTreeWalkTest, OnlyTheFirstRecordOfALocationIsCompletedAndNewRecordsFollowTheWalk) {
  include->setSubFolders(true);
  listed("1", "D");
  listed("2", "d");
  itemIn(inbox, "X1");
  itemIn(inbox, "D");
  auto a = folderIn(inbox, "A");
  itemIn(a, "A1");
  itemIn(folderIn(a, "Deep"), "Z1");
  itemIn(folderIn(inbox, "B"), "B1");
  auto sent = FakeFolder::make("Sent Items", "F5", top);
  itemIn(sent, "S1");
  itemIn(sent, "d");

  EXPECT_TRUE(include->pblnTreeWalk(inbox));
  EXPECT_TRUE(include->pblnTreeWalk(sent));
  EXPECT_EQ(records(),
            (std::vector<std::string>{"D|d|", "d||", "|X1|", "|A1|", "|Z1|", "|B1|", "|S1|"}));

  // A listing empties MailItems: the next walk pairs with the records listed since.
  ASSERT_TRUE(include->MailItems()->pblnReset());
  listed("9", "x1");
  EXPECT_TRUE(include->pblnTreeWalk(sent));
  EXPECT_TRUE(include->pblnTreeWalk(inbox));
  EXPECT_EQ(records(),
            (std::vector<std::string>{"x1|X1|", "|S1|", "|d|", "|D|", "|A1|", "|Z1|", "|B1|"}));
}

TEST_F(IncludeTreeWalkTest, SubFoldersAreWalkedOnlyWhenSetAndNotExcluded) {
  const std::string exclusion = std::string(kAppKey) + "\\Exclude\\X#1";
  platform.utility->setValue(exclusion, "Folder", "inbox\\projects");
  platform.utility->setValue(exclusion, "SubFolders", 0);
  gobjApplication->setDebugLevel(dlOne);
  itemIn(inbox, "I1");
  auto projects = folderIn(inbox, "Projects");
  itemIn(projects, "P1");
  itemIn(folderIn(projects, "Old"), "O1");
  itemIn(folderIn(inbox, "Archive"), "R1");

  EXPECT_TRUE(include->pblnTreeWalk(inbox));
  EXPECT_EQ(records(), (std::vector<std::string>{"|I1|"}));

  include->setFolder("Inbox");
  include->setSubFolders(true);
  ASSERT_TRUE(include->MailItems()->pblnReset());
  EXPECT_TRUE(include->pblnTreeWalk(inbox));
  EXPECT_EQ(records(), (std::vector<std::string>{"|I1|", "|R1|"}));

  const std::string rule = logRuleLine() + "\r\n";
  auto block = [&](const std::string& root) {
    return "\r\n" + rule + kStamp + ", list documents, TreeWalk, Root=" + root + "\r\n" + rule;
  };
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + block("Personal Folders\\Inbox") +
                          block("Personal Folders\\Inbox") + block("Inbox\\Archive"));
}

TEST_F(IncludeTreeWalkTest, AFailingSubFolderEndsItsOwnWalkButNotItsSiblings) {
  include->setSubFolders(true);
  listed("1", "A1", kTenText);
  auto a = folderIn(inbox, "A");
  itemIn(a, "A1")->members.erase("lastmodificationtime");
  itemIn(a, "A2");
  itemIn(folderIn(inbox, "B"), "B1");
  itemIn(folderIn(inbox, "C"), "C1")->set("EntryID", Failure::propertyNotFound());
  itemIn(folderIn(inbox, "D"), "D1");

  EXPECT_FALSE(include->pblnTreeWalk(inbox));
  EXPECT_EQ(records(), (std::vector<std::string>{"A1|A1|", "|B1|", "|D1|"}));
  EXPECT_FALSE(include->pblnTreeWalk(nullptr));
  EXPECT_EQ(errorLines(),
            (std::vector<std::string>{
                errorLine("clsInclude", "pblnTreeWalk", 13, "Type mismatch"),
                errorLine("clsInclude", "pblnTreeWalk", -2147221233,
                          "The property is unknown or cannot be found."),
                errorLine("clsInclude", "pblnTreeWalk", -99987, "Parameter missing")}));
}

}  // namespace
}  // namespace dks
