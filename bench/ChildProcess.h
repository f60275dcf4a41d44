// ChildProcess: a program a benchmark starts, and what the kernel says it cost.
//
//   ChildProcess server;
//   if (!server.start({path, "--listen", "127.0.0.1:0"}, {}, true, &err)) ...
//   server.readLine(&line);          // its first line of output
//   ...
//   server.terminate();
//   const ChildEnd end = server.wait();
//
// The child is started with posix_spawn (a vfork), so its peak resident set as the kernel
// reports it is at least this process's own peak at the time of the start: start children
// while the benchmark itself is small.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/Measure.h"

namespace dks {

/// How a child ended and what it cost.
struct ChildEnd {
  int status = -1;         ///< exit status; 128 + the signal's number when a signal ended it
  double seconds = 0;      ///< wall time from the start to the end
  int64_t peakRssKib = 0;  ///< the child's peak resident set (ru_maxrss)
  double cpuSeconds = 0;   ///< its user and system time
};

class ChildProcess {
 public:
  ChildProcess() = default;
  /// Stops a child that still runs with SIGTERM and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  /// Starts `argv` (argv[0] is the executable's path) with `environment` (NAME=VALUE texts;
  /// empty: this process's environment). Its standard output goes to a pipe that readLine
  /// reads when `captureOutput`, else to /dev/null; its standard error is this process's.
  /// False with *err naming the program and the system's reason when it cannot be started.
  bool start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
             bool captureOutput, std::string* err);

  /// Reads the child's next line of output into *line, without its line end. False at the end
  /// of the output, or when the output is not captured.
  bool readLine(std::string* line);

  /// The user and system time the running child has used so far; -1 when it cannot be read.
  double cpuSeconds() const;

  /// Sends SIGTERM to a running child.
  void terminate();

  /// Waits for the child to end. Once it ended, the same facts are returned again.
  ChildEnd wait();

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
  double startSeconds_ = 0;
  ChildEnd end_;
};

/// This process's environment with `changes` (NAME=VALUE texts) in place of the variables of
/// the same names, and added where there are none.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes);

/// Runs `body` in a forked copy of this process and returns the Measure it made there, with
/// the copy's peak resident set (which includes what this process held at the fork). A copy
/// that ends without handing a Measure back gives failedMeasure(name).
Measure measureInChild(const std::string& name, const std::function<Measure()>& body);

}  // namespace dks
