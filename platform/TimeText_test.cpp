#include "platform/TimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace dks {
namespace {

TEST(TimeTextTest, WritesLocalTimeDayFirstWithLeadingZeros) {
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
  saved ? ::setenv("TZ", savedZone.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace dks
