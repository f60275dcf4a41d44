#include "platform/maildir/HeaderBlock.h"

#include <fcntl.h>
#include <gmime/gmime.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

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

TEST(HeaderBlockParseTest, PlainAsciiSubjectsAreTheirOwnDecoding) {
  for (const char* subject :
       {"Hello  world", "a\tb", "x=y?z", "a =? b", "(comment) \"quoted  text\"", "Re: [list]   x"})
    EXPECT_EQ(parseHeaderBlock(std::string("Subject: ") + subject + "\n").subject, subject);
  EXPECT_EQ(parseHeaderBlock("Subject: Re: =?UTF-8?Q?Gr=C3=BC=C3=9Fe?=\n").subject, "Re: Grüße");
  EXPECT_EQ(parseHeaderBlock("Subject: Caf\xE9\n").subject, "Café");
}

// The usual Date form is read without GMime; every date must still read as GMime reads it.
TEST(HeaderBlockParseTest, DatesReadAsGMimeReadsThem) {
  g_mime_init();
  auto gmime = [](const std::string& text) -> std::optional<std::time_t> {
    GDateTime* date = g_mime_utils_header_decode_date(text.c_str());
    if (date == nullptr) return std::nullopt;
    const std::time_t time = g_date_time_to_unix(date);
    g_date_time_unref(date);
    return time;
  };
  std::vector<std::string> dates = {"Mon, 5 Jan 2026 08:00:00 +0100",
                                    "Tue, 5 Jan 2026 08:00:00 +0100",  // a wrong day name
                                    "Mon, 05 Jan 2026 08:00:00 -0000",
                                    "29 Feb 2024 23:59:59 +1400",
                                    "29 Feb 2025 08:00:00 +0000",
                                    "31 Apr 2025 08:00:00 +0000",
                                    "5 Jan 2026 24:00:00 +0000",
                                    "5 Jan 2026 23:59:60 +0000",
                                    "5 Jan 2026 08:00:00 +1500",
                                    "5 Jan 2026 08:00:00 +0160",
                                    "5 jan 2026 08:00:00 +0100",
                                    "5 Jan 2026 08:00 +0100",
                                    "5 Jan 0001 08:00:00 +0100",
                                    "5 Jan 1899 08:00:00 +0100",
                                    "5 Jan 2026 08:00:00 GMT",
                                    "5 Jan 2026 08:00:00 +0100 (CET)",
                                    "Mon,5 Jan 2026 08:00:00 +0100",
                                    "0 Jan 2026 08:00:00 +0100",
                                    "123 Jan 2026 08:00:00 +0100",
                                    "sometime last week",
                                    "",
                                    "5 Jan 2026 08:00:00 +0100 (CET",
                                    "5 Jan 2026 08:00:00 +0100 ((CET))",
                                    "5 Jan 2026 08:00:00 +0100 (CET) x",
                                    "5 Jan 2026 08:00:00 +0100 ()",
                                    "5 Jan 2026 08:00:00 +0100(CET)",
                                    "5 Jan 2026 08:00:00 GMT (x)",
                                    "5 Jan 2026 08:00:00 UT",
                                    "5 Jan 2026 08:00:00 gmt",
                                    "5 Jan 2026 08:00:00 +01"};
  static const char* kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int64_t time = -2000000000; time < 7000000000; time += 7777777) {
    for (int zone : {0, 60, -480, 330, 840, -720}) {
      const std::time_t local = static_cast<std::time_t>(time + zone * 60);
      std::tm fields{};
      gmtime_r(&local, &fields);
      const int64_t day = (local >= 0 ? local : local - 86399) / 86400;
      char text[80];
      std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d",
                    kDays[((day % 7) + 7) % 7], fields.tm_mday, kMonths[fields.tm_mon],
                    fields.tm_year + 1900, fields.tm_hour, fields.tm_min, fields.tm_sec,
                    zone < 0 ? '-' : '+', std::abs(zone) / 60, std::abs(zone) % 60);
      dates.push_back(text);
      dates.push_back(text + 5);  // without the day name
      dates.push_back(std::string(text) + " (CET)");
      if (zone == 0) dates.push_back(std::string(text, std::strlen(text) - 5) + "GMT");
    }
  }
  for (const std::string& date : dates)
    EXPECT_EQ(parseHeaderBlock("Date: " + date + "\n").date, gmime(date)) << date;
}

}  // namespace
}  // namespace dks
