// `dks-reconciler scan` on a Maildir written by another program (Python's mailbox module): every
// message once, in its folder, decoded. (Entry ids across flag changes and moves: MaildirItem.)
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

namespace fs = std::filesystem;

// Writes a Maildir++ store with mailbox.Maildir: in the Inbox a read message with an encoded
// subject, a new message with a folded subject and one without Date; one in Sent and one in the
// Inbox's sub-folder Projects.
constexpr const char* kWriter = R"PY(
import mailbox, sys
root = mailbox.Maildir(sys.argv[1], create=True)
def add(box, name, headers, flags=None):
    message = mailbox.MaildirMessage(("\n".join(headers) + "\n\nBody of " + name + "\n").encode("latin-1"))
    if flags is not None:
        message.set_subdir("cur")
        message.set_flags(flags)
    box.add(message)
date = "Date: Sat, 09 Mar 2002 14:05:07 +0000"
add(root, "greeting", ["From: a@example.org", date,
    "Subject: =?UTF-8?B?R3LDvMOfZQ==?= aus =?ISO-8859-1?Q?K=F6ln?=", "Message-ID: <1@x>"], "S")
add(root, "folded", ["From: a@example.org", "Date: Sun, 10 Mar 2002 09:00:00 +0100",
    "Subject: A long subject", " that is folded", "Message-ID: <2@x>"])
add(root, "undated", ["From: a@example.org", "Subject: No date here", "Message-ID: <3@x>"], "RS")
add(root.add_folder("Sent"), "sent", ["From: me@example.org", date, "Subject: Re: greeting",
    "In-Reply-To: <1@x>", "Message-ID: <4@x>"], "S")
add(root.add_folder("INBOX.Projects"), "project", ["From: b@example.org", date,
    "Subject: Plan", "Message-ID: <5@x>"], "")
)PY";

class ScanMaildirTest : public ::testing::Test {
 protected:
  std::string run(const std::string& command) {
    std::string output = dir.file("output");
    int status = std::system((command + " >'" + output + "' 2>'" + dir.file("errors") + "'").c_str());
    lastStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return readFileBytes(output);
  }

  /// Rows of `scan --subfolders` by subject; the subject is column 3.
  std::map<std::string, std::vector<std::string>> scan() {
    std::string text = run("TZ=UTC0 MAILDIR='" + store + "' HOME='" + dir.path() + "' DKSR_HIVE='" +
                           hive + "' " + DKSR_EXECUTABLE + " scan --subfolders");
    std::map<std::string, std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.empty() || line[0] == '#' || line.rfind("Folder\t", 0) == 0) continue;
      std::vector<std::string> cells;
      std::istringstream in(line);
      for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
      EXPECT_EQ(rows.count(cells.at(2)), 0u) << "printed twice: " << line;
      rows[cells.at(2)] = cells;
    }
    return rows;
  }

  TempFolder dir;
  std::string store = dir.file("Maildir");
  std::string hive = dir.file("registry.db");
  int lastStatus = -1;
};

enum Column { kFolder, kEntryID, kSubject, kCreation, kModification, kReceived, kSentOn, kSize, kUnRead };

TEST_F(ScanMaildirTest, ForeignMaildirScansEveryMessageOnceDecodedInItsFolder) {
  writeFileBytes(dir.file("writer.py"), kWriter);
  run("/usr/bin/python3 '" + dir.file("writer.py") + "' '" + store + "'");
  ASSERT_EQ(lastStatus, 0) << readFileBytes(dir.file("errors"));

  auto rows = scan();
  ASSERT_EQ(rows.size(), 5u) << readFileBytes(dir.file("errors"));
  const auto& greeting = rows.at("Grüße aus Köln");
  EXPECT_EQ(greeting[kFolder], "Personal Folders\\Inbox");
  EXPECT_EQ(greeting[kSentOn], "09/03/2002 14:05:07");
  EXPECT_EQ(greeting[kUnRead], "False");
  EXPECT_EQ(rows.at("A long subject that is folded")[kSentOn], "10/03/2002 08:00:00");
  EXPECT_EQ(rows.at("A long subject that is folded")[kUnRead], "True");
  EXPECT_EQ(rows.at("No date here")[kSentOn], "");
  EXPECT_EQ(rows.at("Re: greeting")[kFolder], "Personal Folders\\Sent");
  EXPECT_EQ(rows.at("Plan")[kFolder], "Inbox\\Projects");
  for (const auto& [subject, row] : rows) {
    EXPECT_EQ(row[kModification].size(), 19u) << subject;
    EXPECT_EQ(row[kReceived].size(), 19u) << subject;
  }
  EXPECT_FALSE(fs::exists(hive));
}

}  // namespace
}  // namespace dks
