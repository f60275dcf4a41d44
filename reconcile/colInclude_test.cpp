#include "reconcile/colInclude.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/testing/HostFixture.h"

namespace dks {
namespace {

const std::string kIncludeKey = std::string(kAppKey) + "\\Include";
const std::string kExcludeKey = std::string(kAppKey) + "\\Exclude";

// A utility component under which one key vanishes as soon as a key has been counted, as when
// another program deletes an include folder while the set is being read.
class VanishingUtility : public FakeUtility {
 public:
  using FakeUtility::FakeUtility;
  bool QueryKeyInfo(uint32_t root, const std::string& keyPath, std::string& className,
                    int32_t& classLength, int32_t& subKeys, int32_t& longestSubKey,
                    int32_t& longestClass, int32_t& values, int32_t& longestValueName,
                    int32_t& longestValue, std::string& lastWrite) override {
    bool answered =
        FakeUtility::QueryKeyInfo(root, keyPath, className, classLength, subKeys, longestSubKey,
                                  longestClass, values, longestValueName, longestValue, lastWrite);
    if (!vanishing.empty()) hive().deleteKey(vanishing);
    return answered;
  }
  std::string vanishing;
};

class IncludeSetTest : public HostFixture {
 protected:
  IncludeSetTest() {
    utility->stamp = kStamp;
    platform.utility = utility;
    // As installed: without the exclusion list key, no include folder with a Folder text resets.
    utility->hive().createKey(kExcludeKey);
  }
  void SetUp() override { startHost(); }

  void setFolderValue(const std::string& subKey, const std::string& name, const Variant& value) {
    utility->setValue(kIncludeKey + "\\" + subKey, name, value);
  }

  std::vector<std::string> keys(const colInclude& set) {
    std::vector<std::string> result;
    for (const auto& include : set.NewEnum()) result.push_back(include->Key());
    return result;
  }

  std::shared_ptr<VanishingUtility> utility =
      std::make_shared<VanishingUtility>(std::make_shared<PosixFileSystem>());
};

TEST_F(IncludeSetTest, SubKeysWithAHashBecomeIncludeFoldersKeyedByTheirPath) {
  setFolderValue("Inbox#1", "Folder", std::string("  Inbox "));
  setFolderValue("Inbox#1", "SubFolders", int32_t{1});
  setFolderValue("Inbox#1", "EntryID", std::string(" E1 "));
  setFolderValue("Archive", "Folder", std::string("Archive"));
  setFolderValue("x#2", "Folder", std::string("   "));
  utility->setValue(kIncludeKey, "Sorted", int32_t{1});

  colInclude set;
  ASSERT_EQ(keys(set),
            (std::vector<std::string>{kIncludeKey + "\\Inbox#1", kIncludeKey + "\\x#2"}));
  const auto inbox = set.Item(kIncludeKey + "\\INBOX#1");
  ASSERT_EQ(inbox, set.Item(1));
  EXPECT_EQ(inbox->Folder(), "Inbox");
  EXPECT_TRUE(inbox->SubFolders());
  EXPECT_EQ(inbox->EntryID(), "E1");
  EXPECT_TRUE(inbox->Sorted());
  EXPECT_EQ(set.Item(2)->Folder(), "");
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(IncludeSetTest, SharedNumbersKeepTheirDefaultsForZeroAndClampBelowOne) {
  using Row =
      std::tuple<int32_t, int32_t, int32_t>;  // stored; MaxMatches and MaxCharacters; FirstMatch
  for (auto [stored, most, first] : {Row{0, -1, 1}, Row{25, 25, 25}, Row{-5, -1, 1}}) {
    for (const char* name : {"MaximumMatches", "MaximumCharacters", "FirstMatch"})
      utility->setValue(kIncludeKey, name, stored);
    clsInclude include;
    EXPECT_EQ(include.MaxMatches(), most) << stored;
    EXPECT_EQ(include.MaxCharacters(), most) << stored;
    EXPECT_EQ(include.FirstMatch(), first) << stored;
  }
}

TEST_F(IncludeSetTest, AddingADuplicateKeyOrFolderOnlyTakesItsSubFolders) {
  setFolderValue("Inbox#1", "Folder", std::string("Inbox"));
  setFolderValue("y#3", "Folder", std::string("Drafts"));
  setFolderValue("y#3", "Default", int32_t{7});
  colInclude set;
  set.Remove(2);
  const auto inbox = set.Item(1);

  set.Add("Elsewhere", true, 5, "", "", " " + kIncludeKey + "\\INBOX#1 ");
  EXPECT_FALSE(inbox->SubFolders());
  set.Add(" INBOX ", true, 5, "E", "S");
  EXPECT_TRUE(inbox->SubFolders());
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(inbox->Folder(), "Inbox");
  EXPECT_EQ(inbox->Default(), 0);

  // The arguments given override the registry values that the key loaded.
  set.Add("Sent", true, -1, "", " S1 ", kIncludeKey + "\\y#3");
  ASSERT_EQ(set.Count(), 2);
  const auto sent = set.Item(kIncludeKey + "\\Y#3");
  EXPECT_EQ(sent->Folder(), "Sent");
  EXPECT_TRUE(sent->SubFolders());
  EXPECT_EQ(sent->Default(), 7);
  EXPECT_EQ(sent->StoreID(), "S1");
}

TEST_F(IncludeSetTest, AKeyThatVanishesDuringTheLoadStopsItWithTheFoldersAddedSoFar) {
  for (const char* name : {"a#1", "b#2", "c#3"}) setFolderValue(name, "Folder", std::string(name));
  colInclude set;
  ASSERT_EQ(set.Count(), 3);

  utility->vanishing = kIncludeKey + "\\b#2";
  EXPECT_FALSE(set.pblnReset());
  EXPECT_EQ(keys(set), (std::vector<std::string>{kIncludeKey + "\\a#1", kIncludeKey + "\\c#3"}));
  EXPECT_TRUE(errorLines().empty());  // a utility call that reports failure is no record
}

TEST_F(IncludeSetTest, KeyAssignmentReadsTheFolderValuesAndEveryResetReadsThemAgain) {
  setFolderValue("Inbox#1", "Folder", std::string(" Inbox "));
  utility->setValue(kIncludeKey, "FirstMatch", int32_t{3});
  utility->setValue(kIncludeKey, "MaximumMatches", int32_t{20});
  clsInclude include;
  EXPECT_EQ(include.Folder(), "");

  include.setKey(" " + kIncludeKey + "\\Inbox#1 ");
  EXPECT_EQ(include.Key(), kIncludeKey + "\\Inbox#1");
  EXPECT_EQ(include.Folder(), "Inbox");

  setFolderValue("Inbox#1", "Folder", std::string("Archive"));
  include.setMaxMatches(99);
  EXPECT_TRUE(include.pblnReset());
  EXPECT_EQ(include.Folder(), "Archive");
  EXPECT_EQ(include.MaxMatches(), 20);

  // A failed read ends the reset; the values read before it stay.
  utility->failReadValue = "\\MaximumMatches";
  EXPECT_FALSE(include.pblnReset());
  EXPECT_EQ(include.FirstMatch(), 3);
  EXPECT_EQ(include.MaxMatches(), -1);
  EXPECT_EQ(include.Folder(), "");
}

TEST_F(IncludeSetTest, OwnedObjectsAreCreatedOnceAndResetAfterwards) {
  clsInclude include;
  ASSERT_TRUE(include.Delete() && include.Exclude() && include.MailItems() && include.Move() &&
              include.Request() && include.Response() && include.Save() && include.Update());
  EXPECT_EQ(include.Request()->Script(), include.Script());
  include.setScript("http://127.0.0.1:1/list");
  EXPECT_EQ(include.Script(), "http://127.0.0.1:1/list");
  EXPECT_EQ(include.Request()->Script(), "http://127.0.0.1:1/list");

  const auto items = include.MailItems();
  items->Add("entry", "1");
  ASSERT_TRUE(include.pblnReset());
  EXPECT_EQ(include.MailItems(), items);
  EXPECT_EQ(items->Count(), 0);

  // A new Folder text reloads the exclusions.
  utility->setValue(kExcludeKey + "\\p#1", "Folder", std::string("Inbox\\Projects"));
  include.setFolder(" Inbox ");
  EXPECT_EQ(include.Exclude()->Count(), 1);
}

}  // namespace
}  // namespace dks
