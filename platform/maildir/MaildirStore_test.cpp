#include "platform/maildir/MaildirStore.h"

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "platform/maildir/MaildirApplication.h"
#include "platform/maildir/MaildirNames.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

constexpr int32_t kObjectNotFound = -2147221233;
constexpr int32_t kInvalidParameter = -2147024809;

MaildirSettings settingsAt(const std::string& root) {
  MaildirSettings settings;
  settings.root = root;
  return settings;
}

class MaildirStoreTest : public ::testing::Test {
 protected:
  std::shared_ptr<OutlookNamespace> open(
      const std::function<void(MaildirSettings&)>& adjust = nullptr) {
    MaildirSettings settings = settingsAt(root_.path());
    if (adjust) adjust(settings);
    return openMaildirStore(settings)->GetNamespace("MAPI");
  }

  std::shared_ptr<OutlookFolder> defaultFolder(OutlookNamespace& space, int32_t number) {
    return space.GetDefaultFolder(number);
  }

  // One line a folder, indented by depth: its name and its path (the EntryID's bytes).
  static std::string tree(OutlookFolder& folder, int depth = 0) {
    std::string lines = std::string(depth * 2, ' ') + folder.Name() + " [" +
                        bytesOfHex(folder.EntryID()).value_or("?") + "]\n";
    auto children = folder.Folders();
    for (int32_t i = 1; i <= children->Count(); ++i) lines += tree(*children->Item(i), depth + 1);
    return lines;
  }

  static std::shared_ptr<OutlookFolder> topOf(OutlookNamespace& space) {
    int32_t inbox = 6;
    return std::dynamic_pointer_cast<OutlookFolder>(space.GetDefaultFolder(inbox)->Parent());
  }

  // Every folder below and with `folder`, depth first.
  static void collect(const std::shared_ptr<OutlookFolder>& folder,
                      std::vector<std::shared_ptr<OutlookFolder>>& all) {
    all.push_back(folder);
    auto children = folder->Folders();
    for (int32_t i = 1; i <= children->Count(); ++i) collect(children->Item(i), all);
  }

  TempFolder root_;
};

TEST_F(MaildirStoreTest, MaildirPlusPlusRootIsTheInboxAndDotFoldersNest) {
  makeMaildir(root_.path());
  for (const char* folder : {".Sent", ".Entw&APw-rfe", ".INBOX.Projects", ".INBOX.Projects.2024",
                             ".inbox.Ideas", ".Archive.2023", ".Archive.2022"})
    makeMaildir(root_.file(folder));
  makeMaildir(root_.file(".notmuch"), {"xapian"});  // no cur/ or new/: not a folder
  writeFileBytes(root_.file(".uidvalidity"), "1\n");

  auto space = open([](MaildirSettings& settings) { settings.storeName = "Mail"; });
  auto top = topOf(*space);
  EXPECT_EQ(tree(*top),
            "Mail [/]\n"
            "  Archive [.Archive]\n"
            "    2022 [.Archive.2022]\n"
            "    2023 [.Archive.2023]\n"
            "  Entwürfe [.Entw&APw-rfe]\n"
            "  Inbox [.]\n"
            "    Ideas [.inbox.Ideas]\n"
            "    Projects [.INBOX.Projects]\n"
            "      2024 [.INBOX.Projects.2024]\n"
            "  Sent [.Sent]\n");
  EXPECT_EQ(top->DefaultValue(), "Mail");
  EXPECT_EQ(top->Parent(), space);
  EXPECT_EQ(top->StoreID(), hexOf(root_.path()));
  EXPECT_EQ(defaultFolder(*space, 5)->EntryID(), hexOf(".Sent"));
  // A level without a directory of its own holds no messages.
  auto archive = top->Folders()->Item(1);
  EXPECT_EQ(archive->Items()->Count(), 0);
  auto parent = std::dynamic_pointer_cast<OutlookFolder>(archive->Folders()->Item(2)->Parent());
  EXPECT_EQ(parent->EntryID(), archive->EntryID());
}

TEST_F(MaildirStoreTest, FsLayoutTakesDirectoriesThatHoldMaildirs) {
  makeMaildir(root_.file("INBOX"));
  makeMaildir(root_.file("INBOX/Projects"), {"cur"});
  makeMaildir(root_.file("Sent Messages"), {"new"});
  makeMaildir(root_.file("Archive/2023"));  // Archive holds a folder, so it is one
  makeMaildir(root_.file("banana"));
  makeMaildir(root_.file(".hidden"));
  makeMaildir(root_.file("Empty/Deeper"), {"tmp"});  // neither cur/ nor new/ anywhere

  auto space = open();
  auto inbox = defaultFolder(*space, 6);
  EXPECT_EQ(tree(*std::dynamic_pointer_cast<OutlookFolder>(inbox->Parent())),
            "Personal Folders [/]\n"
            "  Archive [Archive]\n"
            "    2023 [Archive/2023]\n"
            "  banana [banana]\n"
            "  INBOX [INBOX]\n"
            "    Projects [INBOX/Projects]\n"
            "  Sent Messages [Sent Messages]\n");
  EXPECT_EQ(inbox->Name(), "INBOX");
  EXPECT_EQ(defaultFolder(*space, 5)->Name(), "Sent Messages");
  EXPECT_EQ(inbox->Folders()->Item(1)->EntryID(), hexOf("INBOX/Projects"));
}

TEST_F(MaildirStoreTest, DefaultFoldersThatAreMissingOrUnknown) {
  makeMaildir(root_.file("Work"));
  makeMaildir(root_.file("gesendet"));
  auto space = open([](MaildirSettings& settings) {
    settings.sentFolderNames = {"Sent", "Gesendet"};
  });
  EXPECT_EQ(defaultFolder(*space, 5)->Name(), "gesendet");
  EXPECT_EQ(failureOf([&] { defaultFolder(*space, 6); }).number(), kObjectNotFound);
  EXPECT_EQ(failureOf([&] { defaultFolder(*space, 4); }).number(), kInvalidParameter);

  auto noSent = open([](MaildirSettings& settings) { settings.sentFolderNames = {"Sent Items"}; });
  EXPECT_EQ(failureOf([&] { defaultFolder(*noSent, 5); }).number(), kObjectNotFound);
}

TEST_F(MaildirStoreTest, ApplicationAndNamespaceRefuseWhatTheyDoNotHave) {
  makeMaildir(root_.path());
  auto application = openMaildirStore(settingsAt(root_.path()));
  auto space = application->GetNamespace("mapi");
  EXPECT_EQ(application->GetNamespace("MAPI"), space);
  EXPECT_EQ(failureOf([&] { application->GetNamespace("IMAP"); }).number(), kInvalidParameter);
  EXPECT_EQ(failureOf([&] { space->DefaultValue(); }).number(), 438);
  EXPECT_EQ(failureOf([&] { space->Get("Folders"); }).number(), 438);

  auto inbox = defaultFolder(*space, 6);
  EXPECT_EQ(std::get<std::string>(inbox->Get("entryid")), "2E");
  EXPECT_EQ(std::get<std::string>(inbox->Get("NAME")), "Inbox");
  EXPECT_EQ(std::get<std::string>(inbox->Get("StoreID")), hexOf(root_.path()));
  EXPECT_EQ(textOf(inbox->Get("Parent")), "Personal Folders");
  EXPECT_EQ(failureOf([&] { inbox->Get("Items"); }).number(), 438);
  EXPECT_EQ(failureOf([&] { inbox->Folders()->Item(1); }).number(), 9);

  writeFileBytes(root_.file("file"), "1\n");
  for (std::string missing : {root_.file("none"), root_.file("file"), std::string()}) {
    Failure failure = failureOf([&] { openMaildirStore(settingsAt(missing)); });
    EXPECT_EQ(failure.number(), 429) << missing;
    EXPECT_EQ(failure.description(), "ActiveX component can't create object");
  }
}

TEST_F(MaildirStoreTest, FolderIdsLeadBackToTheirFoldersAndNowhereElse) {
  for (bool plusPlus : {true, false}) {
    TempFolder store;
    if (plusPlus) {
      makeMaildir(store.path());
      makeMaildir(store.path() + "/.INBOX.Projects");
      makeMaildir(store.path() + "/.A.B");
    } else {
      makeMaildir(store.path() + "/Inbox/Projects");
      makeMaildir(store.path() + "/A/B");
    }
    auto space = openMaildirStore(settingsAt(store.path() + "/"))->GetNamespace("MAPI");
    std::vector<std::shared_ptr<OutlookFolder>> all;
    collect(topOf(*space), all);
    EXPECT_EQ(all.size(), 5u);
    for (const auto& folder : all) {
      auto found = space->GetFolderFromID(folder->EntryID(), lowerCase(folder->StoreID()));
      EXPECT_EQ(found->EntryID(), folder->EntryID());
      EXPECT_EQ(found->Name(), folder->Name());
    }

    const std::string storeID = hexOf(store.path());
    makeMaildir(store.path() + "/.notmuch", {"xapian"});
    for (std::string bad : {hexOf(".."), hexOf("Inbox/../A"), hexOf("Inbox/cur"), hexOf(""),
                            hexOf(".notmuch"), hexOf(".INBOX"), hexOf("A/"), hexOf(".A..B"),
                            hexOf("missing"), std::string("2E2"), std::string("ZZ")})
      EXPECT_EQ(failureOf([&] { space->GetFolderFromID(bad, storeID); }).number(), kObjectNotFound)
          << bad;
    EXPECT_EQ(failureOf([&] { space->GetFolderFromID(hexOf("A"), hexOf("/elsewhere")); }).number(),
              kObjectNotFound);
  }
}

}  // namespace
}  // namespace dks
