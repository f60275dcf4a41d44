#include "reconcile/colExclude.h"

#include <gtest/gtest.h>

#include <string>

#include "app/testing/HostFixture.h"

namespace dks {
namespace {

const std::string kListKey = std::string(kAppKey) + "\\Exclude";

class ColExcludeTest : public HostFixture {
 protected:
  void exclusion(const std::string& name, const std::string& folder, const Variant& sub = {}) {
    platform.utility->setValue(kListKey + "\\" + name, "Folder", folder);
    if (!isEmpty(sub)) platform.utility->setValue(kListKey + "\\" + name, "SubFolders", sub);
  }
  colExclude excludes;
};

TEST_F(ColExcludeTest, LoadsHashedSubKeysWhoseFolderHoldsTheIncludeText) {
  startHost();
  exclusion("#1", " INBOX\\Old ", -2);
  platform.utility->setValue(kListKey + "\\#1", "EntryID", " E1 ");
  exclusion("#2", "   ", 1);  // blank, after a matching neighbour
  exclusion("#3", "Sent Items\\Old");
  exclusion("#4", "Inbox\\Archive", 0);
  exclusion("#5", "inbox\\Drafts");
  exclusion("Plain", "Inbox\\Plain");
  ASSERT_TRUE(excludes.pblnReset(" Inbox "));
  ASSERT_EQ(excludes.Count(), 3);
  const clsExclude& first = *excludes.Item(lowerCase(kListKey) + "\\#1");
  EXPECT_EQ(first.Folder() + "|" + first.EntryID(), "INBOX\\Old|E1");
  EXPECT_TRUE(first.SubFolders());
  EXPECT_EQ(excludes.Item(2)->Folder(), "Inbox\\Archive");
  EXPECT_FALSE(excludes.Item(2)->SubFolders() || excludes.Item(3)->SubFolders());
}

TEST_F(ColExcludeTest, ResetReadsNothingForInstallationOrBlankIncludeAndStopsAtUtilityFalse) {
  startHost();
  exclusion("#1", "Inbox\\A");
  exclusion("#2", "Inbox\\B");
  exclusion("#3", "Inbox\\C");
  platform.utility->failReadValue = "#2";
  EXPECT_FALSE(excludes.pblnReset("Inbox"));
  ASSERT_EQ(excludes.Count(), 1);
  EXPECT_EQ(excludes.Item(1)->Folder(), "Inbox\\A");

  platform.utility->failingKeyIds.insert(kExclusionListKey);
  platform.utility->setValue(kAppKey, "Flags", 999);
  EXPECT_TRUE(excludes.pblnReset("Inbox"));
  EXPECT_EQ(excludes.Count(), 0);
  platform.utility->setValue(kAppKey, "Flags", 0);
  EXPECT_TRUE(excludes.pblnReset("  "));
  EXPECT_FALSE(excludes.pblnReset("Inbox"));
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(ColExcludeTest, AddNeverDuplicatesAKeyOrAFolderText) {
  startHost();
  exclusion("#1", "Inbox\\Old");
  platform.utility->setValue(kListKey + "\\#1", "StoreID", "S1");
  excludes.Add("Inbox\\New", true, "E9", "", kListKey + "\\#1");
  excludes.Add("Inbox\\Other", true, "", "", " " + upperCase(kListKey) + "\\#1 ");
  ASSERT_EQ(excludes.Count(), 1);
  const clsExclude& added = *excludes.Item(1);
  EXPECT_EQ(added.Folder() + "|" + added.EntryID() + "|" + added.StoreID(), "Inbox\\New|E9|S1");
  excludes.Add(" INBOX\\NEW ", false);
  EXPECT_EQ(excludes.Count(), 1);
  EXPECT_FALSE(added.SubFolders());
}

TEST(ColExcludeRuleTest, EqualPathOrFolderAnywhereWhenSubFoldersCovered) {
  colExclude excludes;
  excludes.Add("Inbox\\Old");
  excludes.Add("Inbox\\Archive", true);
  EXPECT_TRUE(excludes.Excludes(" inbox\\OLD "));
  EXPECT_FALSE(excludes.Excludes("Inbox\\Old\\2001"));
  EXPECT_TRUE(excludes.Excludes("Personal\\INBOX\\ARCHIVE\\2001"));
  EXPECT_FALSE(excludes.Excludes("Inbox\\Arch"));
}

TEST_F(ColExcludeTest, RecordReloadsOnEveryKeyWriteKeepingWhatItReadBeforeAFailure) {
  startHost();
  const std::string key = kListKey + "\\#1";
  exclusion("#1", " Inbox\\Old ", 1);
  clsExclude record;
  record.setKey(" " + key + " ");
  EXPECT_EQ(record.Key(), key);
  EXPECT_TRUE(record.SubFolders());
  record.setKey(kListKey + "\\#9");  // no such key
  EXPECT_EQ(record.Folder(), "");
  EXPECT_FALSE(record.SubFolders());

  exclusion("#1", "Inbox\\Old", "yes");
  record.setKey(key);
  EXPECT_EQ(record.Folder(), "Inbox\\Old");
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{errorLine("clsExclude", "pblnReset", 13, "Type mismatch")});
  platform.utility->failKeyExists = "#1";
  EXPECT_FALSE(record.pblnReset());
  EXPECT_EQ(record.Folder(), "");
  EXPECT_EQ(errorLines().size(), 1u);
}

}  // namespace
}  // namespace dks
