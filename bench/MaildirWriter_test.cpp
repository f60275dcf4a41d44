#include "bench/MaildirWriter.h"

#include <gmime/gmime.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

namespace fs = std::filesystem;

struct TreeFile {
  std::string bytes;
  int64_t mtime = 0;
  bool operator==(const TreeFile&) const = default;
};

// Every file below `dir` by its relative path.
std::map<std::string, TreeFile> readTree(const std::string& dir) {
  std::map<std::string, TreeFile> tree;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    struct stat facts {};
    stat(entry.path().c_str(), &facts);
    tree[fs::relative(entry.path(), dir).string()] = {readFileBytes(entry.path()),
                                                      facts.st_mtim.tv_sec};
  }
  return tree;
}

bool isMessage(const std::string& relativePath) {
  const fs::path path(relativePath);
  const std::string box = path.parent_path().filename();
  return (box == "cur" || box == "new") && path.filename().string()[0] != '.';
}

int64_t messagesIn(const std::map<std::string, TreeFile>& tree) {
  int64_t count = 0;
  for (const auto& [path, file] : tree) count += isMessage(path);
  return count;
}

std::string headerBlock(const std::string& bytes) {
  size_t end = bytes.find("\n\n");
  if (end == std::string::npos) end = bytes.find("\r\n\r\n");
  return bytes.substr(0, end);
}

std::map<std::string, TreeFile> write(const std::string& dir, MaildirWriterOptions options,
                                      MaildirWriter* writer = nullptr) {
  MaildirWriter own(options);
  if (writer == nullptr) writer = &own;
  std::string err;
  EXPECT_TRUE(writer->write(dir, &err)) << err;
  return readTree(dir);
}

TEST(MaildirWriterTest, SameArgumentsGiveTheSameTreeInEitherLayout) {
  for (MaildirLayout layout : {MaildirLayout::kFs, MaildirLayout::kMaildirPlusPlus}) {
    TempFolder one, two, other;
    const auto tree = write(one.path(), {layout, 120, 1, 7});
    EXPECT_EQ(tree, write(two.path(), {layout, 120, 1, 7}));
    EXPECT_NE(tree, write(other.path(), {layout, 120, 1, 8}));
  }
}

TEST(MaildirWriterTest, FolderCountsAddUpToTheMessagesOnDisk) {
  TempFolder dir;
  MaildirWriter writer({MaildirLayout::kMaildirPlusPlus, 300, 1, 1});
  const auto tree = write(dir.path(), {}, &writer);
  int64_t total = 0;
  for (const WrittenFolder& folder : writer.folders()) {
    EXPECT_GT(folder.messages, 0) << folder.name;
    int64_t onDisk = 0;
    for (const auto& [path, file] : tree)
      onDisk += isMessage(path) && fs::path(path).parent_path().parent_path() == folder.directory;
    EXPECT_EQ(onDisk, folder.messages) << folder.name;
    total += folder.messages;
  }
  EXPECT_EQ(total, 300);
  EXPECT_EQ(messagesIn(tree), 300);
  EXPECT_EQ(writer.folders()[0].name, "Inbox");
  EXPECT_EQ(writer.folders()[0].directory, "");
  EXPECT_GT(writer.folders()[0].messages, 150);
  EXPECT_TRUE(tree.count(".INBOX.Receipts.&ANw-bersicht/maildirfolder"));
  EXPECT_TRUE(tree.count("dovecot-uidlist"));
  EXPECT_TRUE(tree.count("cur/.1767600000.M0P1.bench:2,S"));
  EXPECT_TRUE(tree.count(".Sent/tmp/1767600000.M0P1.bench"));
  EXPECT_FALSE(fs::exists(dir.file(".INBOX.Lists")));
}

TEST(MaildirWriterTest, FirstAddsNewMessagesAndLeavesTheOldOnes) {
  TempFolder dir;
  const auto before = write(dir.path(), {MaildirLayout::kFs, 50, 1, 1});
  const auto after = write(dir.path(), {MaildirLayout::kFs, 30, 51, 1});
  EXPECT_EQ(messagesIn(before), 50);
  EXPECT_EQ(messagesIn(after), 80);
  for (const auto& [path, file] : before) EXPECT_EQ(after.at(path), file) << path;
}

// The unique names of the messages ("<delivery>.M<k>P<seed>.bench") with their files' times.
std::map<std::string, int64_t> deliveries(const std::map<std::string, TreeFile>& tree) {
  std::map<std::string, int64_t> names;
  for (const auto& [path, file] : tree) {
    const std::string name = fs::path(path).filename();
    if (isMessage(path)) names[name.substr(0, name.find_first_of(",:"))] = file.mtime;
  }
  return names;
}

TEST(MaildirWriterTest, AnEarlierStartMovesEveryDeliveryAndNothingElse) {
  TempFolder one, two;
  constexpr int64_t kShift = 10000 * kMaildirWriterSpacing;
  const auto standard = write(one.path(), {MaildirLayout::kFs, 40, 1, 1});
  const auto earlier =
      write(two.path(), {MaildirLayout::kFs, 40, 1, 1, kMaildirWriterDefaultStart - kShift});
  std::map<std::string, int64_t> moved;
  for (const auto& [name, mtime] : deliveries(standard)) {
    const size_t dot = name.find('.');
    moved[std::to_string(std::stoll(name.substr(0, dot)) - kShift) + name.substr(dot)] =
        mtime - kShift;
  }
  EXPECT_EQ(deliveries(earlier), moved);
  EXPECT_EQ(moved.size(), 40u);
  for (const auto& [path, file] : standard) {
    if (isMessage(path)) continue;
    EXPECT_EQ(earlier.at(path), file) << path;
  }
}

TEST(MaildirWriterTest, HeadersNamesAndTimesCarryTheRealWorldVariety) {
  TempFolder dir;
  const auto tree = write(dir.path(), {MaildirLayout::kFs, 200, 1, 1});
  std::map<std::string, int> seen;
  for (const auto& [path, file] : tree) {
    if (!isMessage(path)) continue;
    const std::string name = fs::path(path).filename();
    const std::string header = headerBlock(file.bytes);
    EXPECT_EQ(std::to_string(file.mtime), name.substr(0, name.find('.'))) << path;
    const size_t size = name.find(",S=");
    if (size != std::string::npos) {
      EXPECT_EQ(std::stoul(name.substr(size + 3)), file.bytes.size()) << path;
      ++seen["size field"];
    }
    if (name.find(",U=") != std::string::npos) ++seen["uid field"];
    if (path.find("/new/") != std::string::npos) {
      EXPECT_EQ(name.find(':'), std::string::npos) << path;
      ++seen["new"];
    }
    if (header.find("=?UTF-8?B?") != std::string::npos) ++seen["B word"];
    if (header.find("=?UTF-8?Q?") != std::string::npos) ++seen["Q word"];
    if (header.find("\r\n") != std::string::npos) {
      EXPECT_EQ(header.find('\n'), header.find("\r\n") + 1) << path;
      ++seen["CR LF"];
    }
    const size_t subject = header.find("\nSubject:");
    const size_t subjectEnd = header.find('\n', subject + 1);
    if (header[subjectEnd + 1] == ' ' || header[subjectEnd + 2] == ' ') ++seen["folded subject"];
    if (header.find("\nIn-Reply-To: ") != std::string::npos) {
      EXPECT_NE(header.find("Subject: Re: "), std::string::npos) << path;
      ++seen["reply"];
    }
    if (header.find("\nThread-Index: ") != std::string::npos) ++seen["Thread-Index"];
    if (header.find("\nDate: ") == std::string::npos) ++seen["no Date"];
    if (header.find("Date: sometime") != std::string::npos) ++seen["bad Date"];
  }
  for (const char* feature : {"size field", "uid field", "new", "B word", "Q word", "CR LF",
                              "folded subject", "reply", "Thread-Index"}) {
    EXPECT_GT(seen[feature], 0) << feature;
  }
  EXPECT_EQ(seen["no Date"], 1);
  EXPECT_EQ(seen["bad Date"], 1);
}

// The header's value with its folds removed, "" when there is no such header.
std::string unfolded(const std::string& header, const std::string& name) {
  size_t start = header.find("\n" + name + ": ");
  if (start == std::string::npos) return "";
  start += name.size() + 3;
  std::string value;
  for (size_t end; (end = header.find('\n', start)) != std::string::npos; start = end + 1) {
    value += header.substr(start, end - start);
    if (end + 1 >= header.size() || (header[end + 1] != ' ' && header[end + 1] != '\t')) break;
  }
  if (!value.empty() && value.back() == '\r') value.pop_back();
  return value;
}

TEST(MaildirWriterTest, EncodedSubjectsAndDatesDecodeWithAStandardParser) {
  g_mime_init();
  TempFolder dir;
  const auto tree = write(dir.path(), {MaildirLayout::kFs, 300, 1, 1});
  std::map<std::string, int> seen;
  for (const auto& [path, file] : tree) {
    if (!isMessage(path)) continue;
    const std::string header = "\n" + headerBlock(file.bytes) + "\n";
    const std::string subject = unfolded(header, "Subject");
    char* decoded = g_mime_utils_header_decode_text(nullptr, subject.c_str());
    const std::string text = decoded;
    g_free(decoded);
    if (subject.find("=?") != std::string::npos) {
      EXPECT_TRUE(g_utf8_validate(text.c_str(), -1, nullptr)) << path;
      EXPECT_EQ(text.find("=?"), std::string::npos) << path << ": " << text;
      const size_t prefix = text.rfind(": ", 5);  // after "Re: " or "Fwd: "
      ++seen[prefix == std::string::npos ? text : text.substr(prefix + 2)];
    }
    const std::string date = unfolded(header, "Date");
    if (date.empty() || date == "sometime last week") continue;
    GDateTime* parsed = g_mime_utils_header_decode_date(date.c_str());
    EXPECT_NE(parsed, nullptr) << path << ": " << date;
    if (parsed != nullptr) g_date_time_unref(parsed);
  }
  for (const char* text : {"Grüße aus München", "Überweisung bestätigt: Rechnung Nr. 4711",
                           "日本語の長い件名です。複数のエンコードされた単語に分割されます",
                           "🎉 Release 2.0 ist da! 🚀"}) {
    EXPECT_GT(seen[text], 0) << text;
  }
}

TEST(MaildirWriterTest, UnwritableDirectoryIsReported) {
  TempFolder dir;
  writeFileBytes(dir.file("file"), "x");
  MaildirWriter writer({});
  std::string err;
  EXPECT_FALSE(writer.write(dir.file("file"), &err));
  EXPECT_EQ(err.rfind("cannot create '" + dir.file("file") + "/Inbox/cur': ", 0), 0u) << err;
}

}  // namespace
}  // namespace dks
