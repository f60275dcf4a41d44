#include "bench/Measure.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace dks {
namespace {

double processCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

std::string measureLine(const Measure& measure) {
  const double rate =
      measure.seconds > 0 ? static_cast<double>(measure.items) / measure.seconds : 0.0;
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, ": items=%lld seconds=%.6f items_per_second=%.0f",
                static_cast<long long>(measure.items), measure.seconds, rate);
  std::string line = measure.name + numbers;
  if (measure.cpuSeconds >= 0) {
    std::snprintf(numbers, sizeof numbers, " cpu_seconds=%.3f", measure.cpuSeconds);
    line += numbers;
  }
  if (measure.peakRssKib >= 0) line += " peak_rss_kib=" + std::to_string(measure.peakRssKib);
  return line + measure.details;
}

Measure failedMeasure(const std::string& name) {
  Measure measure;
  measure.name = name;
  measure.items = -1;
  return measure;
}

Measure timeOnce(const std::string& name, const std::function<int64_t()>& body) {
  Measure measure;
  measure.name = name;
  const double cpuStart = processCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  measure.items = body();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  measure.seconds = elapsed.count();
  measure.cpuSeconds = processCpuSeconds() - cpuStart;
  return measure;
}

Measure fastestOf(int repeat, const std::function<Measure()>& once) {
  Measure fastest;
  for (int run = 0; run == 0 || run < repeat; ++run) {
    Measure next = once();
    if (next.items < 0) return next;
    if (run == 0 || next.seconds < fastest.seconds) fastest = std::move(next);
  }
  return fastest;
}

std::string makeWorkFolder(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
  if (::mkdtemp(folder.data()) != nullptr) return folder;
  std::perror((prefix + ": mkdtemp").c_str());
  return "";
}

}  // namespace dks
