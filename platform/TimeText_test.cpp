#include "platform/TimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace dks {
namespace {

TEST(TimeTextTest, WritesLocalTimeDayFirstAndReadsIsoZonesIntoIt) {
  const char* saved = std::getenv("TZ");
  std::string savedZone = saved ? saved : "";
  auto inZone = [](const char* zone, std::time_t time) {
    ::setenv("TZ", zone, 1);
    ::tzset();
    return timeText(time);
  };
  EXPECT_EQ(inZone("UTC0", 0), "01/01/1970 00:00:00");
  EXPECT_EQ(inZone("UTC0", 1000000000), "09/09/2001 01:46:40");
  // Summer time in September: two hours ahead.
  EXPECT_EQ(inZone("CET-1CEST,M3.5.0,M10.5.0/3", 1000000000), "09/09/2001 03:46:40");
  EXPECT_EQ(timeText(*readTimeText("2001-09-09T01:46:40Z")), "09/09/2001 03:46:40");
  EXPECT_EQ(timeText(*readTimeText("2001-09-09 01:46:40-0130")), "09/09/2001 05:16:40");
  EXPECT_EQ(timeText(*readTimeText("2001-09-08T23:00:00+01:00")), "09/09/2001 00:00:00");
  saved ? ::setenv("TZ", savedZone.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  // Fields are padded to their width and never cut.
  EXPECT_EQ(timeText(CalendarTime{99, 1, 2, 3, 4, 5}), "02/01/0099 03:04:05");
  EXPECT_EQ(timeText(CalendarTime{10000, 12, 31, 23, 59, 59}), "31/12/10000 23:59:59");
  EXPECT_EQ(timeText(CalendarTime{2026, 12, 5, 0, 0, 0}), "05/12/2026 00:00:00");
}

TEST(TimeTextTest, ReadsDayFirstAndIsoFormsAndRefusesTheRest) {
  auto read = [](const char* text) {
    auto time = readTimeText(text);
    return time ? timeText(*time) : std::string("none");
  };
  EXPECT_EQ(read(" 09/03/2002 14:05:07 "), "09/03/2002 14:05:07");
  EXPECT_EQ(read("9/3/2002 4:05"), "09/03/2002 04:05:00");
  EXPECT_EQ(read("09/03/2002"), "09/03/2002 00:00:00");
  EXPECT_EQ(read("2002-03-09T14:05:07.25"), "09/03/2002 14:05:07");
  EXPECT_EQ(read("2002-03-09"), "09/03/2002 00:00:00");
  for (const char* bad : {"", "29/02/2001", "31/04/2002", "09/03/2002 24:00:00", "09/03/02",
                          "2002-03-09T14:05:07+25:00", "yesterday", "09/03/2002x"})
    EXPECT_EQ(read(bad), "none") << bad;
}

TEST(TimeTextTest, MinuteNumbersCountBoundariesCrossed) {
  auto minutes = [](const char* from, const char* to) {
    return minuteNumber(*readTimeText(to)) - minuteNumber(*readTimeText(from));
  };
  EXPECT_EQ(minutes("01/03/2002 10:00:00", "01/03/2002 10:00:59"), 0);
  EXPECT_EQ(minutes("01/03/2002 10:00:59", "01/03/2002 10:01:00"), 1);
  EXPECT_EQ(minutes("28/02/2002 23:59:00", "01/03/2002 00:00:00"), 1);
  EXPECT_EQ(minutes("01/03/2002 10:00:00", "28/02/2002 10:00:00"), -1440);
}

}  // namespace
}  // namespace dks
