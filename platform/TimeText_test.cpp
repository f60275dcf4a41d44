#include "platform/TimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace dks {
namespace {

class TimeTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
  }
  void TearDown() override {
    savedZone_ ? ::setenv("TZ", savedZone_->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
  }
  static void useZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
  }

  std::optional<std::string> savedZone_;
};

TEST_F(TimeTextTest, WritesLocalTimeDayFirstWithLeadingZeros) {
  useZone("UTC0");
  EXPECT_EQ(timeText(0), "01/01/1970 00:00:00");
  EXPECT_EQ(timeText(1000000000), "09/09/2001 01:46:40");
  useZone("CET-1CEST,M3.5.0,M10.5.0/3");  // summer time in September: two hours ahead
  EXPECT_EQ(timeText(1000000000), "09/09/2001 03:46:40");
  EXPECT_EQ(timeText(1764928800), "05/12/2025 11:00:00");
}

}  // namespace
}  // namespace dks
