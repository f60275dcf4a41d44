#include "mailstore/clsEmail.h"

#include <gtest/gtest.h>

#include "app/testing/HostFixture.h"
#include "mailstore/colEmail.h"

namespace dks {
namespace {

TEST(ClsEmailTest, LocationsLoseOnlyTheExactSchemeUpToItsFirstOccurrence) {
  clsEmail email;
  email.setCurrentLocation(" dkemail://00AB ");
  EXPECT_EQ(email.CurrentLocation(), "00AB");
  EXPECT_EQ(email.SourceURL(), "dkemail://00AB");
  email.setCurrentLocation("00AB");
  EXPECT_EQ(email.SourceURL(), "dkemail://00AB");
  email.setPreviousLocation("DKEMAIL://00AB");
  EXPECT_EQ(email.PreviousLocation(), "DKEMAIL://00AB");
  email.setPreviousLocation("x dkemail:// 00AB dkemail://CD");
  EXPECT_EQ(email.PreviousLocation(), " 00AB dkemail://CD");
}

TEST(ClsEmailTest, NumbersAreFlooredAndResetRestoresDefaults) {
  clsEmail email;
  email.setDocumentID(-7);
  EXPECT_EQ(email.DocumentID(), -1);
  email.setDocumentID(-1);
  EXPECT_EQ(email.DocumentID(), -1);
  email.setPreviousSize(-3);
  email.setCurrentSize(-3);
  EXPECT_EQ(email.PreviousSize() + email.CurrentSize(), 0);
  email.setResave(true);
  email.setTitle("t");
  EXPECT_TRUE(email.pblnReset());
  EXPECT_EQ(email.DocumentID(), 0);
  EXPECT_FALSE(email.Resave());
  EXPECT_EQ(email.Title(), "");
}

class ColEmailTest : public HostFixture {
 protected:
  // An item record with both halves, as a listed document whose mail item was found.
  std::shared_ptr<clsItem> foundItem() {
    auto item = std::make_shared<clsItem>();
    item->setDocumentID(17);
    item->setPreviousLocation("dkemail://00AB");
    item->setPreviousDate("01/03/2002 10:00:00");
    item->setPreviousSize(100);
    item->setResave(true);
    item->setModificationTime("01/03/2002 10:01:00");
    item->setSize(-4);
    item->setSubject("Hello");
    return item;
  }
  colEmail emails;
};

TEST_F(ColEmailTest, LoadFillsTheRecordAndLogsItFromLevelThree) {
  startAtDebugLevel(3);
  emails.Add(" 00AB ");
  ASSERT_TRUE(emails.pblnLoad(foundItem(), emails.Count()));
  const clsEmail& email = *emails.Item(1);
  EXPECT_EQ(email.CurrentLocation(), "00AB");
  EXPECT_EQ(email.CurrentDate(), "01/03/2002 10:01:00");
  EXPECT_EQ(email.CurrentSize(), 0);
  EXPECT_EQ(email.DocumentID(), 17);
  EXPECT_EQ(email.PreviousLocation(), "00AB");
  EXPECT_EQ(email.PreviousSize(), 100);
  EXPECT_TRUE(email.Resave());
  EXPECT_EQ(email.Title(), "\\Hello");
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + kStamp +
                          ", Title=\\Hello, Resave=True, CLocation=00AB, CDate=01/03/2002 "
                          "10:01:00, PLocation=00AB, PDate=01/03/2002 10:00:00\r\n");
}

TEST_F(ColEmailTest, LoadAtAnIndexThatNamesNoRecordRecordsTwice) {
  startAtDebugLevel(2);
  emails.Add("00AB", "a");
  EXPECT_FALSE(emails.pblnLoad(foundItem(), 2));
  EXPECT_FALSE(emails.pblnLoad(nullptr, 1));
  EXPECT_EQ(emails.Item("a")->Title(), "");
  EXPECT_EQ(runLog(), "");
  EXPECT_EQ(
      errorLines(),
      (std::vector<std::string>{
          errorLine("colEmail", "Item", 9, "Subscript out of range"),
          errorLine("colEmail", "pblnLoad", 91, "Object variable or With block variable not set"),
          errorLine("colEmail", "pblnLoad", -99987, "Parameter missing")}));
}

}  // namespace
}  // namespace dks
