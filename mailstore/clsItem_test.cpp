#include "mailstore/clsItem.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/testing/HostFixture.h"
#include "mailstore/colItem.h"
#include "platform/testing/FakeOutlook.h"

namespace dks {
namespace {

// Items in the Inbox of a store whose top folder stands under the name space; times in UTC.
class ClsItemTest : public HostFixture {
 protected:
  ClsItemTest() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    top = FakeFolder::make("Personal Folders", "T0", ns);
    inbox = FakeFolder::make("Inbox", "F6", top);
    item = fakeMailItem(inbox);
  }
  ~ClsItemTest() override {
    ::unsetenv("TZ");
    ::tzset();
  }

  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<FakeFolder> top, inbox;
  std::shared_ptr<FakeObject> item;
};

TEST_F(ClsItemTest, MailItemWritesNormaliseTheirValues) {
  createUtilityAndErrors();
  clsMailItem mail;
  mail.setSize(-5);
  mail.setSensitivity(-5);
  EXPECT_EQ(mail.Size(), 0);
  EXPECT_EQ(mail.Sensitivity(), -5);
  mail.setReceivedTime("   ");
  EXPECT_EQ(mail.ReceivedTime(), "");
  mail.setReceivedTime(" 9/3/2002 14:05:07 ");
  EXPECT_EQ(mail.ReceivedTime(), "09/03/2002 14:05:07");
  mail.setReceivedTime(mail.ReceivedTime());
  EXPECT_EQ(mail.ReceivedTime(), "09/03/2002 14:05:07");
  mail.setSentOn("2002-03-09T15:05:07+01:00");
  EXPECT_EQ(mail.SentOn(), "09/03/2002 14:05:07");
  mail.setSentOn("not a date");
  EXPECT_EQ(mail.SentOn(), "09/03/2002 14:05:07");
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{errorLine("clsMailItem", "SentOn", 13, "Type mismatch")});
}

TEST_F(ClsItemTest, MailItemLoadStopsAtTheFirstMemberItCannotRead) {
  createUtilityAndErrors();
  clsMailItem mail;
  mail.setSubject("old");
  EXPECT_FALSE(mail.pblnLoad(nullptr));
  item->members.erase("senton");
  EXPECT_FALSE(mail.pblnLoad(item));
  EXPECT_EQ(errorLines(), (std::vector<std::string>{
                              errorLine("clsMailItem", "pblnLoad", -99987, "Parameter missing"),
                              errorLine("clsMailItem", "pblnLoad", 438,
                                        "Object doesn't support this property or method")}));
  EXPECT_EQ(mail.EntryID(), "00AB");
  EXPECT_EQ(mail.Parent(), "Personal Folders\\Inbox");
  EXPECT_EQ(mail.ParentEntryID(), "F6");
  EXPECT_EQ(mail.Sensitivity(), 2);
  EXPECT_EQ(mail.SentOn(), "");
  EXPECT_EQ(mail.Subject(), "old");
}

TEST_F(ClsItemTest, NewRecordHasNoHalvesAndWritesCreateOnlyTheirHalf) {
  clsItem record;
  EXPECT_TRUE(record.Saved() && record.Sent());
  EXPECT_FALSE(record.UnRead() || record.Resave() || record.Submitted());
  EXPECT_EQ(record.DocumentID() + record.Size(), 0);
  EXPECT_FALSE(record.hasMailHalf() || record.hasEmailHalf());
  record.setTitle("  A title ");
  EXPECT_TRUE(record.hasEmailHalf());
  EXPECT_FALSE(record.hasMailHalf());
  EXPECT_EQ(record.Title(), "A title");
  record.setSize(-1);
  EXPECT_TRUE(record.hasMailHalf());
  EXPECT_EQ(record.Size(), 0);
  EXPECT_TRUE(record.pblnReset());
  EXPECT_FALSE(record.hasMailHalf() || record.hasEmailHalf());
}

TEST_F(ClsItemTest, LoadSkipsUnreadableMembersAndLogsOneLineFromLevelThree) {
  startAtDebugLevel(3);
  item->set("SentOn", Failure::objectNotFound());
  clsItem record;
  record.setSentOn("01/01/2001 00:00:00");
  ASSERT_TRUE(record.pblnLoad(item));
  EXPECT_EQ(record.SentOn(), "01/01/2001 00:00:00");
  EXPECT_EQ(record.ConversationIndex(), "01C1C7A2");
  EXPECT_EQ(record.CreationTime(), "09/03/2002 14:06:07");
  EXPECT_EQ(record.ModificationTime(), "09/03/2002 14:10:00");
  EXPECT_EQ(record.Parent(), "Personal Folders\\Inbox");
  EXPECT_EQ(record.ParentStoreID(), "S1");
  EXPECT_EQ(record.Size(), 2048);
  EXPECT_EQ(record.Subject(), "Hello");
  EXPECT_FALSE(record.UnRead());
  EXPECT_FALSE(record.hasEmailHalf());
  EXPECT_EQ(gcolError->Count(), 0);
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + kStamp +
                          ", Subject=  Hello  , EntryID=00AB, Modification=09/03/2002 14:10:00, "
                          "Size=2048, UnRead=False\r\n");
}

TEST_F(ClsItemTest, LoadLogsNothingBelowLevelThreeOrWhenALoggedMemberFails) {
  startAtDebugLevel(2);
  clsItem record;
  EXPECT_TRUE(record.pblnLoad(item));
  gobjApplication->setDebugLevel(4);
  item->set("UnRead", Failure::objectNotFound());
  EXPECT_TRUE(record.pblnLoad(item));
  EXPECT_EQ(runLog(), "");
  EXPECT_FALSE(record.pblnLoad(nullptr));
  EXPECT_EQ(errorLines(), std::vector<std::string>{
                              errorLine("clsItem", "pblnLoad", -99987, "Parameter missing")});
}

TEST_F(ClsItemTest, CollectionAddsTrimmedIdsAndRefusesTakenKeys) {
  createUtilityAndErrors();
  colItem items;
  items.Add();
  items.Add("  00AB  ");
  items.Add("", "17");
  items.Add("00CD", " 17 ");
  EXPECT_EQ(items.Count(), 3);
  EXPECT_FALSE(items.Item(1)->hasMailHalf() || items.Item(1)->hasEmailHalf());
  EXPECT_EQ(items.Item(2)->EntryID(), "00AB");
  EXPECT_EQ(items.Item(2)->Subject(), "");
  EXPECT_EQ(items.Item("17")->EntryID(), "");
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{
                errorLine("colItem", "Add", 457,
                          "This key is already associated with an element of this collection")});
  EXPECT_TRUE(items.pblnReset());
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.Item("17"), nullptr);
}

}  // namespace
}  // namespace dks
