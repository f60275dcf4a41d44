#include "bench/Measure.h"

#include <gtest/gtest.h>

#include <vector>

namespace dks {
namespace {

TEST(MeasureTest, TheLineShowsThePeakAndTheDetailsOnlyWhenThereAreAny) {
  Measure measure;
  measure.name = "bare_header_read";
  measure.items = 10000;
  measure.seconds = 0.08;
  EXPECT_EQ(measureLine(measure),
            "bare_header_read: items=10000 seconds=0.080000 items_per_second=125000");
  measure.cpuSeconds = 0.0712;
  measure.peakRssKib = 3404;
  measure.details = " server_cpu_seconds=0.010";
  EXPECT_EQ(measureLine(measure),
            "bare_header_read: items=10000 seconds=0.080000 items_per_second=125000 "
            "cpu_seconds=0.071 peak_rss_kib=3404 server_cpu_seconds=0.010");
  EXPECT_EQ(measureLine(failedMeasure("run")), "run: items=-1 seconds=0.000000 items_per_second=0");
}

TEST(MeasureTest, TheFastestRunIsKeptAndAFailedRunEndsTheSeries) {
  std::vector<double> times = {0.3, 0.1, 0.2};
  size_t calls = 0;
  auto next = [&] {
    Measure measure;
    measure.name = "m";
    measure.items = static_cast<int64_t>(calls);
    measure.seconds = times[calls++];
    return measure;
  };
  const Measure fastest = fastestOf(3, next);
  EXPECT_EQ(fastest.seconds, 0.1);
  EXPECT_EQ(fastest.items, 1);
  EXPECT_EQ(calls, 3u);

  calls = 0;
  times = {0.3, 0.1, 0.2};
  const Measure failed = fastestOf(3, [&] {
    Measure measure = next();
    if (calls == 2) measure.items = -1;
    return measure;
  });
  EXPECT_EQ(failed.items, -1);
  EXPECT_EQ(calls, 2u);
  calls = 0;
  EXPECT_EQ(fastestOf(0, next).seconds, 0.3);  // at least once
}

}  // namespace
}  // namespace dks
