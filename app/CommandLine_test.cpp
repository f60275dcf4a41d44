// The executable as a user starts it: its exit statuses and what it leaves behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/Hive.h"
#include "platform/HiveUtility.h"
#include "platform/InstanceLock.h"
#include "platform/PosixFileSystem.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

// Writes a Maildir++ store with Python's mailbox module: in the Inbox a read message with an
// encoded subject, a new message with a folded subject and one without Date; one in Sent and
// one in the Inbox's sub-folder Projects.
constexpr const char* kPythonWriter = R"PY(
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

class ExecutableTest : public ::testing::Test {
 protected:
  /// Runs the executable with `arguments` on `hive`, its program folder `home`; the exit status.
  int run(const std::string& arguments, const std::string& hive, const std::string& home) {
    std::string command = "TZ=UTC0 DKSR_HIVE='" + hive + "' DKSR_HOME='" + home + "' MAILDIR='" +
                          maildir + "' " + DKSR_EXECUTABLE + " " + arguments + " >'" +
                          dir.file("stdout") + "' 2>'" + dir.file("stderr") + "'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Variant storedValue(const std::string& hive, const std::string& name) {
    HiveUtility utility(Hive::open(hive), std::make_shared<PosixFileSystem>());
    Variant value;
    EXPECT_TRUE(utility.ReadValue(HKEY_CURRENT_USER, "Software\\DKS\\Reconciler\\" + name,
                                  std::string("not stored"), value));
    return value;
  }

  TempFolder dir;
  /// The mail store; tests that want one make it.
  std::string maildir = dir.file("Maildir");
};

TEST_F(ExecutableTest, RunWithoutAMailStoreRecordsTheStartUpFailure) {
  const std::string hive = dir.file("config/registry.db");
  EXPECT_EQ(run("run", hive, dir.path()), 2);

  EXPECT_EQ(storedValue(hive, "Started"), Variant{std::string()});
  const std::string record =
      " modApplication pblnStartUp 429 ActiveX component can't create object";
  EXPECT_NE(readFileBytes(dir.file("qdmerror.log")).find(record + "\r\n"), std::string::npos);
  EXPECT_NE(readFileBytes(dir.file("stderr")).find(record), std::string::npos);
}

TEST_F(ExecutableTest, RunWithAMailStoreAndNoIncludeFoldersSucceeds) {
  const std::string hive = dir.file("registry.db");
  makeMaildir(maildir);
  EXPECT_EQ(run("run", hive, dir.path()), 0);

  const Variant started = storedValue(hive, "Started");
  EXPECT_EQ(toText(started).size(), 19u) << toText(started);
  EXPECT_EQ(toText(storedValue(hive, "Finished")).size(), 19u);
  EXPECT_EQ(storedValue(hive, "State"), Variant{int32_t{1}});
  EXPECT_EQ(readFileBytes(dir.file("stderr")), "");
}

// A store that another program wrote: every message once, in its folder, decoded.
TEST_F(ExecutableTest, ScanReadsAMaildirThatPythonsMailboxModuleWrote) {
  writeFileBytes(dir.file("writer.py"), kPythonWriter);
  const std::string write = "/usr/bin/python3 '" + dir.file("writer.py") + "' '" + maildir + "'";
  ASSERT_EQ(std::system(write.c_str()), 0);
  const std::string hive = dir.file("registry.db");
  run("scan --subfolders", hive, dir.path());

  // Folder, SentOn and UnRead by Subject.
  std::map<std::string, std::string> rows;
  std::istringstream lines(readFileBytes(dir.file("stdout")));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
    if (line[0] == '#' || cells.size() < 9 || cells[0] == "Folder") continue;
    EXPECT_TRUE(rows.emplace(cells[2], cells[0] + " | " + cells[6] + " | " + cells[8]).second)
        << "printed twice: " << line;
  }
  EXPECT_EQ(
      rows,
      (std::map<std::string, std::string>{
          {"Grüße aus Köln", "Personal Folders\\Inbox | 09/03/2002 14:05:07 | False"},
          {"A long subject that is folded", "Personal Folders\\Inbox | 10/03/2002 08:00:00 | True"},
          {"No date here", "Personal Folders\\Inbox |  | False"},
          {"Re: greeting", "Personal Folders\\Sent | 09/03/2002 14:05:07 | False"},
          {"Plan", "Inbox\\Projects | 09/03/2002 14:05:07 | True"}}))
      << readFileBytes(dir.file("stderr"));
  EXPECT_FALSE(std::filesystem::exists(hive));
}

TEST_F(ExecutableTest, SecondInstanceOnTheSameHiveCreatesNothing) {
  const std::string hive = dir.file("registry.db");
  auto lock = InstanceLock::acquire(hive);
  ASSERT_NE(lock, nullptr);
  const std::string home = dir.file("home");
  ASSERT_TRUE(std::filesystem::create_directory(home));

  EXPECT_EQ(run("run", hive, home), 2);
  EXPECT_TRUE(std::filesystem::is_empty(home));
  EXPECT_FALSE(std::filesystem::exists(hive));

  EXPECT_EQ(run("", dir.file("other.db"), home), 2);  // another hive is not held
  EXPECT_TRUE(std::filesystem::exists(dir.file("home/qdmerror.log")));
}

}  // namespace
}  // namespace dks
