// Measure: one measured quantity of a benchmark, the line that shows it, and the rule that a
// measure repeated R times shows its fastest run; also the temporary folder a benchmark works in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace dks {

struct Measure {
  std::string name;
  int64_t items = 0;        ///< what the measured work handled; negative when it failed
  double seconds = 0;       ///< wall time
  double cpuSeconds = -1;   ///< user and system time of the process that did it; -1: unknown
  int64_t peakRssKib = -1;  ///< peak resident set of the process that did it; -1: not apart
  std::string details;      ///< further " name=value" fields for the line, "" for none
};

/// "NAME: items=N seconds=S items_per_second=R", followed by " cpu_seconds=C" and
/// " peak_rss_kib=K" when they are known and by the details; no line end.
std::string measureLine(const Measure& measure);

/// A Measure of `name` whose work failed: items -1.
Measure failedMeasure(const std::string& name);

/// One timed call of `body`, which returns the items it handled (negative when it failed): its
/// wall time and the CPU time this process spent meanwhile.
Measure timeOnce(const std::string& name, const std::function<int64_t()>& body);

/// Calls `once` `repeat` times (at least once) and returns the Measure with the fewest seconds.
/// A Measure with negative items is returned at once, ending the series.
Measure fastestOf(int repeat, const std::function<Measure()>& once);

/// Creates a new folder "PREFIX-XXXXXX" under $TMPDIR (else /tmp) and returns its path; "" after
/// printing why on standard error.
std::string makeWorkFolder(const std::string& prefix);

}  // namespace dks
