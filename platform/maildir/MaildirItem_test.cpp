#include "platform/maildir/MaildirItem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "platform/maildir/MaildirApplication.h"
#include "platform/maildir/MaildirNames.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

constexpr int32_t kObjectNotFound = -2147221233;

class MaildirItemTest : public ::testing::Test {
 protected:
  // The root is a Maildir++ store, so the root itself is the Inbox.
  MaildirItemTest() { makeMaildir(root_.path()); }

  void write(const std::string& file, const std::string& bytes) {
    writeFileBytes(root_.file(file), bytes);
  }

  // The folder at `path` (".": the Inbox).
  std::shared_ptr<OutlookFolder> folder(const std::string& path) {
    MaildirSettings settings;
    settings.root = root_.path();
    return openMaildirStore(settings)->GetNamespace("MAPI")->GetFolderFromID(hexOf(path),
                                                                             hexOf(root_.path()));
  }

  std::shared_ptr<OutlookCollection<OutlookObject>> inboxItems() { return folder(".")->Items(); }

  // The one message of the Inbox.
  std::shared_ptr<OutlookObject> onlyItem() {
    auto items = inboxItems();
    EXPECT_EQ(items->Count(), 1);
    return items->Item(1);
  }

  static std::string text(OutlookObject& item, const char* member) {
    return std::get<std::string>(item.Get(member));
  }
  static std::time_t date(OutlookObject& item, const char* member) {
    return std::get<OutlookDate>(item.Get(member)).time;
  }
  static int32_t number(OutlookObject& item, const char* member) {
    return std::get<int32_t>(item.Get(member));
  }
  static bool flag(OutlookObject& item, const char* member) {
    return std::get<bool>(item.Get(member));
  }

  TempFolder root_;
};

TEST_F(MaildirItemTest, HeaderMembersAreDecodedWithCrLfAndFoldedLines) {
  write("cur/1700000100.M1P1.host:2,S",
        "Received: from somewhere\r\n\tby here\r\n"
        "Subject: =?UTF-8?B?R3LDvMOfZQ==?=\r\n =?ISO-8859-1?Q?_aus_M=FCnchen?=\r\n"
        "Date: Tue, 14 Nov 2023 22:13:20 +0000\r\n"
        "Sensitivity: private\r\n"
        "Thread-Topic: Grüße\r\n"
        "Thread-Index: AdoQ7C8=\r\n"
        "\r\n"
        "Subject: not a header, the body\r\n");
  auto item = onlyItem();
  EXPECT_EQ(text(*item, "subject"), "Grüße aus München");
  EXPECT_EQ(date(*item, "SentOn"), 1700000000);
  EXPECT_EQ(number(*item, "Sensitivity"), 2);
  EXPECT_EQ(text(*item, "ConversationTopic"), "Grüße");
  EXPECT_EQ(text(*item, "ConversationIndex"), "01DA10EC2F");
  EXPECT_EQ(text(*item, "MessageClass"), "IPM.Note");
  EXPECT_EQ(text(*item, "EntryID"), hexOf("1700000100.M1P1.host"));
  EXPECT_EQ(textOf(item->Get("Parent")), "Inbox");
  for (const char* member : {"Body", "", "Subject "})
    EXPECT_EQ(failureOf([&] { item->Get(member); }).number(), 438) << member;
  EXPECT_EQ(failureOf([&] { item->DefaultValue(); }).number(), 438);
}

TEST_F(MaildirItemTest, LegacyEightBitSubjectAndMissingOrBadDates) {
  write("new/1700000200.M2P2.host",
        "Subject: Re: FW:re:  Caf\xe9 cr\xe8me\nReferences: <root@example.org>\n\nBody\n");
  write("new/1700000300.M3P3.host", "Subject: Fwd: report\nDate: yesterday at noon\n\nBody\n");
  auto items = inboxItems();
  auto latin = items->Item(1);
  EXPECT_EQ(text(*latin, "Subject"), "Re: FW:re:  Café crème");
  EXPECT_EQ(text(*latin, "ConversationTopic"), "Café crème");
  EXPECT_EQ(text(*latin, "ConversationIndex"), "51CC113944283E13BD6B0CBF66E0D2C1");
  EXPECT_EQ(number(*latin, "Sensitivity"), 0);
  auto undated = items->Item(2);
  for (auto& item : {latin, undated}) {
    Failure failure = failureOf([&] { item->Get("SentOn"); });
    EXPECT_EQ(failure.number(), kObjectNotFound);
    EXPECT_EQ(failure.description(), "The property is unknown or cannot be found.");
  }
  // Without any message id the index comes from the EntryID.
  EXPECT_EQ(text(*undated, "ConversationIndex"), "C8949D84F1202D95FB69EEE7D744F384");
  EXPECT_EQ(text(*undated, "ConversationTopic"), "report");
  EXPECT_EQ(date(*undated, "ReceivedTime"), 1700000300);
  EXPECT_EQ(number(*undated, "Size"), 51);
}

TEST_F(MaildirItemTest, FlagsComeFromNamesInCurOnly) {
  write("cur/a:2,DS", "Subject: a\n\n");
  write("cur/b:2,FR", "Subject: b\n\n");
  write("new/c:2,S", "Subject: c\n\n");
  auto items = inboxItems();
  ASSERT_EQ(items->Count(), 3);
  auto expect = [&](int32_t index, bool unread, bool sent) {
    auto item = items->Item(index);
    EXPECT_EQ(flag(*item, "UnRead"), unread) << index;
    EXPECT_EQ(flag(*item, "Sent"), sent) << index;
    EXPECT_TRUE(flag(*item, "Saved"));
    EXPECT_FALSE(flag(*item, "Submitted"));
  };
  expect(1, false, false);
  expect(2, true, true);
  expect(3, true, true);
}

TEST_F(MaildirItemTest, ListingSkipsTmpAndDotFilesAndOrdersByUniqueName) {
  write("new/300.M1.host", "Subject: third\n\n");
  write("cur/100.M1.host,S=20:2,S", "Subject: first\n\n");
  write("new/200.M1.host", "Subject: second, also in cur\n\n");
  write("cur/200.M1.host:2,S", "Subject: second\n\n");
  write("tmp/150.M1.host", "Subject: being delivered\n\n");
  write("cur/.250.M1.host", "Subject: hidden\n\n");
  makeMaildir(root_.file("cur/subfolder"));
  auto items = inboxItems();
  std::vector<std::string> subjects;
  for (int32_t i = 1; i <= items->Count(); ++i)
    subjects.push_back(text(*items->Item(i), "Subject"));
  EXPECT_EQ(subjects, (std::vector<std::string>{"first", "second", "third"}));
  for (int32_t outside : {0, 4})
    EXPECT_EQ(failureOf([&] { items->Item(outside); }).number(), 9) << outside;
}

TEST_F(MaildirItemTest, EntryIdSurvivesFlagChangesAndMoves) {
  makeMaildir(root_.file(".Archive"));
  const std::string dovecot = "1700000000.M1P2.host,S=30,W=31";
  const std::string mbsync = "1700000001.12345_1.host,U=7";
  write("new/" + dovecot, "Subject: dovecot\n\n");
  write("new/" + mbsync, "Subject: mbsync\n\n");
  auto entryIDs = [](const std::shared_ptr<OutlookFolder>& folder) {
    auto items = folder->Items();
    std::vector<std::string> ids;
    for (int32_t i = 1; i <= items->Count(); ++i) ids.push_back(text(*items->Item(i), "EntryID"));
    return ids;
  };
  auto move = [&](const std::string& from, const std::string& to) {
    ASSERT_EQ(std::rename(root_.file(from).c_str(), root_.file(to).c_str()), 0);
  };
  const std::vector<std::string> ids = {hexOf("1700000000.M1P2.host"),
                                        hexOf("1700000001.12345_1.host")};
  EXPECT_EQ(entryIDs(folder(".")), ids);
  move("new/" + dovecot, "cur/" + dovecot + ":2,S");
  move("new/" + mbsync, "cur/" + mbsync + ":2,RS");
  EXPECT_EQ(entryIDs(folder(".")), ids);
  move("cur/" + dovecot + ":2,S", ".Archive/cur/" + dovecot + ":2,S");
  move("cur/" + mbsync + ":2,RS", ".Archive/new/" + mbsync);
  EXPECT_EQ(entryIDs(folder(".Archive")), ids);
}

TEST_F(MaildirItemTest, FileRenamedAfterListingIsFollowedAndVanishedFileIsNotFound) {
  write("new/1.M1.host", "Subject: moved\n\n");
  write("new/2.M1.host", "Subject: deleted\n\n");
  write("new/3.M1.host", "Subject: kept\n\n");
  auto items = inboxItems();
  std::rename(root_.file("new/1.M1.host").c_str(), root_.file("cur/1.M1.host:2,S").c_str());
  std::remove(root_.file("new/2.M1.host").c_str());

  auto moved = items->Item(1);
  EXPECT_EQ(text(*moved, "Subject"), "moved");
  EXPECT_FALSE(flag(*moved, "UnRead"));

  auto deleted = items->Item(2);
  for (const char* member : {"Subject", "Size", "LastModificationTime", "ConversationIndex"})
    EXPECT_EQ(failureOf([&] { deleted->Get(member); }).number(), kObjectNotFound) << member;
  EXPECT_EQ(text(*deleted, "EntryID"), hexOf("2.M1.host"));
  EXPECT_EQ(textOf(deleted->Get("Parent")), "Inbox");
  EXPECT_EQ(text(*items->Item(3), "Subject"), "kept");
}

TEST_F(MaildirItemTest, TimesAndSizeComeFromTheFile) {
  const std::string message = "Subject: times\n\nBody\n";
  write("cur/no-time-here:2,S", message);
  const std::time_t start = std::time(nullptr);
  auto setModified = [&](std::time_t modified) {
    timespec times[2] = {{modified, 0}, {modified, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, root_.file("cur/no-time-here:2,S").c_str(), times, 0), 0);
  };
  setModified(start + 1000);
  auto item = onlyItem();
  EXPECT_EQ(date(*item, "ReceivedTime"), start + 1000);
  EXPECT_EQ(date(*item, "CreationTime"), start + 1000);
  EXPECT_EQ(date(*item, "LastModificationTime"), start + 1000);  // later than the change time
  EXPECT_EQ(number(*item, "Size"), static_cast<int32_t>(message.size()));

  setModified(1000000000);
  auto changed = onlyItem();
  EXPECT_EQ(date(*changed, "ReceivedTime"), 1000000000);
  EXPECT_GE(date(*changed, "LastModificationTime"), start);  // the change time

  std::filesystem::resize_file(root_.file("cur/no-time-here:2,S"), uintmax_t{1} << 31);  // sparse
  EXPECT_EQ(failureOf([&] { onlyItem()->Get("Size"); }).number(), 6);
}

}  // namespace
}  // namespace dks
