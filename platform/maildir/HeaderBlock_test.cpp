#include "platform/maildir/HeaderBlock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

class HeaderBlockTest : public ::testing::Test {
 protected:
  std::string blockOf(const std::string& bytes) {
    writeFileBytes(folder_.file("message"), bytes);
    int fd = ::open(folder_.file("message").c_str(), O_RDONLY);
    std::string block = readHeaderBlock(fd);
    ::close(fd);
    return block;
  }

  TempFolder folder_;
};

TEST_F(HeaderBlockTest, BlockEndsBeforeTheFirstEmptyLine) {
  EXPECT_EQ(blockOf("Subject: a\nTo: b\n\nBody\n\nMore"), "Subject: a\nTo: b\n");
  EXPECT_EQ(blockOf("Subject: a\r\n folded\r\n\r\nBody\r\n"), "Subject: a\r\n folded\r\n");
  EXPECT_EQ(blockOf("\r\nBody"), "");
  EXPECT_EQ(blockOf("\nBody"), "");
  EXPECT_EQ(blockOf("Subject: no body\n"), "Subject: no body\n");
  EXPECT_EQ(blockOf("Subject: cut"), "Subject: cut");
  EXPECT_EQ(blockOf(""), "");
  // The empty line's CR as the last byte of the first read (8 KiB), or just after it.
  for (size_t length : {8191u, 8192u}) {
    std::string header = "X-Fill: " + std::string(length - 10, 'x') + "\r\n";
    EXPECT_EQ(blockOf(header + "\r\nBody"), header) << length;
  }
}

TEST_F(HeaderBlockTest, ReadingStopsAtTheLimit) {
  std::string huge = "X-Huge: " + std::string(2 * kHeaderBlockLimit, 'x') + "\n\nBody";
  EXPECT_EQ(blockOf(huge), huge.substr(0, kHeaderBlockLimit));
}

TEST(HeaderBlockParseTest, FirstOfRepeatedHeadersCountsAndNamesIgnoreCase) {
  MessageHeaders headers = parseHeaderBlock(
      "From somebody Tue Dec  5 10:00:00 2023\n"
      " stray continuation\n"
      "SUBJECT : first\n"
      "subject: second\n"
      "not a header line\n"
      "sensitivity:  company-CONFIDENTIAL \n"
      "Thread-Index: AdoQ\n"
      " 7A==\n");
  EXPECT_EQ(headers.subject, "first");
  EXPECT_EQ(headers.sensitivity, 3);
  EXPECT_EQ(headers.threadIndex, "01DA10EC");
  EXPECT_EQ(headers.date, std::nullopt);
  EXPECT_EQ(headers.threadTopic, std::nullopt);
  EXPECT_EQ(headers.threadRoot, "");
}

TEST(HeaderBlockParseTest, ThreadRootIsTheFirstIdOfReferencesThenInReplyToThenMessageId) {
  const std::string own = "Message-ID: <own@example.org>\n";
  const std::string reply = "In-Reply-To: <parent@example.org> (Ann's message)\n";
  const std::string references = "References: <root@example.org>\n <parent@example.org>\n";
  EXPECT_EQ(parseHeaderBlock(own + reply + references).threadRoot, "<root@example.org>");
  EXPECT_EQ(parseHeaderBlock(own + reply).threadRoot, "<parent@example.org>");
  EXPECT_EQ(parseHeaderBlock(own).threadRoot, "<own@example.org>");
  EXPECT_EQ(parseHeaderBlock("Message-ID: bare@example.org\n").threadRoot, "bare@example.org");
}

}  // namespace
}  // namespace dks
