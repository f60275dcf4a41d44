#include "reconcile/colInclude.h"

#include <gtest/gtest.h>

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
  setFolderValue("Inbox#1", "Default", int32_t{3});
  setFolderValue("Inbox#1", "EntryID", std::string(" E1 "));
  setFolderValue("Inbox#1", "StoreID", std::string("S1"));
  setFolderValue("Archive", "Folder", std::string("Archive"));
  setFolderValue("x#2", "Folder", std::string("   "));
  setFolderValue("x#2", "Default", int32_t{-2});
  utility->setValue(kIncludeKey, "Sorted", int32_t{1});

  colInclude set;
  ASSERT_EQ(keys(set),
            (std::vector<std::string>{kIncludeKey + "\\Inbox#1", kIncludeKey + "\\x#2"}));
  const auto inbox = set.Item(kIncludeKey + "\\INBOX#1");
  ASSERT_EQ(inbox, set.Item(1));
  EXPECT_EQ(inbox->Folder(), "Inbox");
  EXPECT_TRUE(inbox->SubFolders());
  EXPECT_EQ(inbox->Default(), 3);
  EXPECT_EQ(inbox->EntryID(), "E1");
  EXPECT_EQ(inbox->StoreID(), "S1");
  EXPECT_TRUE(inbox->Sorted());

  const auto other = set.Item(2);
  EXPECT_EQ(other->Folder(), "");
  EXPECT_FALSE(other->SubFolders());
  EXPECT_EQ(other->Default(), 0);
  EXPECT_TRUE(other->Sorted());
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(IncludeSetTest, SharedNumbersKeepTheirDefaultsForZeroAndClampBelowOne) {
  struct Case {
    int32_t stored;
    int32_t maxMatches;
    int32_t firstMatch;
  };
  for (const Case& c : {Case{0, -1, 1}, Case{25, 25, 25}, Case{-5, -1, 1}}) {
    utility->setValue(kIncludeKey, "MaximumMatches", c.stored);
    utility->setValue(kIncludeKey, "MaximumCharacters", c.stored);
    utility->setValue(kIncludeKey, "FirstMatch", c.stored);
    clsInclude include;
    EXPECT_EQ(include.MaxMatches(), c.maxMatches) << c.stored;
    EXPECT_EQ(include.MaxCharacters(), c.maxMatches) << c.stored;
    EXPECT_EQ(include.FirstMatch(), c.firstMatch) << c.stored;
  }
}

TEST_F(IncludeSetTest, AddingADuplicateKeyOrFolderOnlyTakesItsSubFolders) {
  setFolderValue("Inbox#1", "Folder", std::string("Inbox"));
  setFolderValue("y#3", "Folder", std::string("Drafts"));
  setFolderValue("y#3", "SubFolders", int32_t{1});
  setFolderValue("y#3", "Default", int32_t{7});
  colInclude set;
  ASSERT_EQ(set.Count(), 2);
  set.Remove(2);

  const auto inbox = set.Item(1);
  set.Add("Elsewhere", true, 5, "", "", " " + kIncludeKey + "\\INBOX#1 ");
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(inbox->Folder(), "Inbox");
  EXPECT_FALSE(inbox->SubFolders());
  set.Add(" INBOX ", true, 5, "E", "S");
  EXPECT_EQ(set.Count(), 1);
  EXPECT_TRUE(inbox->SubFolders());
  EXPECT_EQ(inbox->Default(), 0);
  EXPECT_EQ(inbox->EntryID(), "");
  set.Add("inbox", false);
  EXPECT_FALSE(inbox->SubFolders());

  // Arguments given override the registry values that the key loaded.
  set.Add("Sent", false, -1, "", "", kIncludeKey + "\\y#3");
  ASSERT_EQ(set.Count(), 2);
  const auto sent = set.Item(kIncludeKey + "\\Y#3");
  ASSERT_NE(sent, nullptr);
  EXPECT_EQ(sent->Folder(), "Sent");
  EXPECT_FALSE(sent->SubFolders());
  EXPECT_EQ(sent->Default(), 7);

  // Without a key: no collection key, and only the arguments given.
  set.Add("Archive", true, 4, " E1 ", "S1");
  ASSERT_EQ(set.Count(), 3);
  const auto archive = set.Item(3);
  EXPECT_EQ(archive->Key(), "");
  EXPECT_EQ(archive->Folder(), "Archive");
  EXPECT_TRUE(archive->SubFolders());
  EXPECT_EQ(archive->Default(), 4);
  EXPECT_EQ(archive->EntryID(), "E1");
  EXPECT_EQ(archive->StoreID(), "S1");
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(IncludeSetTest, LoadFailuresStopWithFalseAndKeepWhatWasAdded) {
  for (const char* name : {"a#1", "b#2", "c#3"}) setFolderValue(name, "Folder", std::string(name));
  colInclude set;
  ASSERT_EQ(set.Count(), 3);

  utility->vanishing = kIncludeKey + "\\b#2";
  EXPECT_FALSE(set.pblnReset());
  EXPECT_EQ(keys(set), (std::vector<std::string>{kIncludeKey + "\\a#1", kIncludeKey + "\\c#3"}));
  utility->vanishing.clear();

  utility->failQueryKeyInfo = "Include";
  EXPECT_FALSE(set.pblnReset());
  EXPECT_EQ(set.Count(), 0);
  utility->failQueryKeyInfo.clear();
  utility->failingKeyIds.insert(kIncludeListKey);
  EXPECT_FALSE(set.pblnReset());
  EXPECT_EQ(set.Count(), 0);
  // A utility call that reports failure is no error record.
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(IncludeSetTest, KeyAssignmentReadsTheFolderValuesAndResetReadsThemAgain) {
  setFolderValue("Inbox#1", "Folder", std::string(" Inbox "));
  setFolderValue("Inbox#1", "SubFolders", int32_t{1});
  utility->setValue(kIncludeKey, "FirstMatch", int32_t{3});
  utility->setValue(kIncludeKey, "MaximumCharacters", int32_t{10});
  utility->setValue(kIncludeKey, "MaximumMatches", int32_t{20});

  clsInclude include;
  EXPECT_EQ(include.Key(), "");
  EXPECT_EQ(include.Folder(), "");
  EXPECT_EQ(include.FirstMatch(), 3);

  include.setKey(" " + kIncludeKey + "\\Inbox#1 ");
  EXPECT_EQ(include.Key(), kIncludeKey + "\\Inbox#1");
  EXPECT_EQ(include.Folder(), "Inbox");
  EXPECT_TRUE(include.SubFolders());

  setFolderValue("Inbox#1", "Folder", std::string("Archive"));
  include.setMaxMatches(99);
  EXPECT_TRUE(include.pblnReset());
  EXPECT_EQ(include.Folder(), "Archive");
  EXPECT_EQ(include.MaxMatches(), 20);

  // A failed read ends the reset; the values read before it stay.
  utility->failReadValue = "\\MaximumMatches";
  EXPECT_FALSE(include.pblnReset());
  EXPECT_EQ(include.FirstMatch(), 3);
  EXPECT_EQ(include.MaxCharacters(), 10);
  EXPECT_EQ(include.MaxMatches(), -1);
  EXPECT_EQ(include.Folder(), "");
  utility->failReadValue.clear();
  utility->failKeyExists = "Inbox#1";
  EXPECT_FALSE(include.pblnReset());
  EXPECT_EQ(include.MaxMatches(), 20);
  EXPECT_EQ(include.Folder(), "");

  // A key that is not stored leaves the defaults and the shared values.
  utility->failKeyExists.clear();
  include.setKey(kIncludeKey + "\\gone#9");
  EXPECT_EQ(include.Folder(), "");
  EXPECT_FALSE(include.SubFolders());
  EXPECT_EQ(include.MaxMatches(), 20);
  EXPECT_TRUE(errorLines().empty());
}

TEST_F(IncludeSetTest, OwnedObjectsAreCreatedOnceAndResetAfterwards) {
  clsInclude include;
  ASSERT_TRUE(include.Delete() && include.Exclude() && include.MailItems() && include.Move() &&
              include.Request() && include.Response() && include.Save() && include.Update());
  EXPECT_NE(include.Request(), include.Response());
  EXPECT_EQ(include.Script(),
            gobjApplication->Host() + ":" + gobjApplication->Port() + "/listDocuments");
  EXPECT_EQ(include.Request()->Script(), include.Script());
  EXPECT_EQ(include.FolderPath(), "");

  include.setScript("http://127.0.0.1:1/list");
  EXPECT_EQ(include.Script(), "http://127.0.0.1:1/list");
  EXPECT_EQ(include.Request()->Script(), "http://127.0.0.1:1/list");

  const auto items = include.MailItems();
  const auto save = include.Save();
  items->Add("entry", "1");
  ASSERT_TRUE(include.pblnReset());
  EXPECT_EQ(include.MailItems(), items);
  EXPECT_EQ(include.Save(), save);
  EXPECT_EQ(items->Count(), 0);
}

TEST_F(IncludeSetTest, FolderAssignmentReloadsTheExclusionsForTheNewText) {
  utility->setValue(kExcludeKey + "\\p#1", "Folder", std::string("Inbox\\Projects"));
  clsInclude include;
  EXPECT_EQ(include.Exclude()->Count(), 0);
  include.setFolder(" Inbox ");
  EXPECT_EQ(include.Exclude()->Count(), 1);
  include.setFolder("Sent Items");
  EXPECT_EQ(include.Exclude()->Count(), 0);
}

TEST_F(IncludeSetTest, ThePresentedInterfacesDoNothing) {
  clsInclude include;
  const std::string script = include.Script();
  include.AsAction().setScript("http://127.0.0.1:1/elsewhere");
  include.AsDocket().setScript("http://127.0.0.1:1/elsewhere");
  include.AsFolder().setName("Elsewhere");
  EXPECT_EQ(include.AsAction().Script(), "");
  EXPECT_FALSE(include.AsAction().pblnReset());
  EXPECT_FALSE(include.AsDocket().pblnLoadXML("<a/>"));
  std::shared_ptr<OutlookFolder> folder;
  EXPECT_FALSE(include.AsFolder().pblnGetDefault(gobjOutlook, 6, folder));
  EXPECT_EQ(folder, nullptr);

  EXPECT_EQ(include.Script(), script);
  EXPECT_EQ(include.Request()->Script(), script);
  EXPECT_EQ(include.Request()->XMLText(), "");
  EXPECT_EQ(include.Name(), "");
}

}  // namespace
}  // namespace dks
