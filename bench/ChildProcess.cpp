#include "bench/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace dks {
namespace {

double nowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Pointers into `texts` followed by the null pointer that argv and envp end with.
std::vector<char*> pointersTo(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

double secondsOf(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The exit status of a wait status, 128 + the signal for a child a signal ended.
int exitStatusOf(int waitStatus) {
  if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
  return 128 + (WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0);
}

// Writes all of `text` to `fd`; false when it cannot.
bool writeAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

// A Measure as one line "ITEMS SECONDS CPU NAME<TAB>DETAILS", and back.
std::string encode(const Measure& measure) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "%lld %.9f %.9f ", static_cast<long long>(measure.items),
                measure.seconds, measure.cpuSeconds);
  return numbers + measure.name + "\t" + measure.details + "\n";
}

Measure decode(const std::string& text) {
  Measure measure = failedMeasure("");
  std::istringstream in(text);
  std::string rest;
  if (!(in >> measure.items >> measure.seconds >> measure.cpuSeconds) ||
      !std::getline(in >> std::ws, rest))
    return failedMeasure("");
  const size_t tab = rest.find('\t');
  measure.name = rest.substr(0, tab);
  if (tab != std::string::npos) measure.details = rest.substr(tab + 1);
  return measure;
}

}  // namespace

ChildProcess::~ChildProcess() {
  terminate();
  wait();
}

bool ChildProcess::start(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, bool captureOutput,
                         std::string* err) {
  int output[2] = {-1, -1};
  if (captureOutput && ::pipe2(output, O_CLOEXEC) != 0) {
    *err = "cannot make a pipe: " + std::string(std::strerror(errno));
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (captureOutput)
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const std::vector<char*> args = pointersTo(argv);
  const std::vector<char*> env = pointersTo(environment);
  startSeconds_ = nowSeconds();
  const int failed = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(),
                                   environment.empty() ? environ : env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (captureOutput) ::close(output[1]);
  if (failed != 0) {
    pid_ = -1;
    if (captureOutput) ::close(output[0]);
    *err = "cannot start " + argv[0] + ": " + std::strerror(failed);
    return false;
  }
  if (captureOutput) output_ = ::fdopen(output[0], "r");
  return true;
}

bool ChildProcess::readLine(std::string* line) {
  if (output_ == nullptr) return false;
  line->clear();
  for (int c; (c = std::fgetc(output_)) != EOF;) {
    if (c == '\n') return true;
    line->push_back(static_cast<char>(c));
  }
  return !line->empty();
}

double ChildProcess::cpuSeconds() const {
  if (pid_ <= 0) return -1;
  std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
  std::string text;
  std::getline(stat, text);
  // The fields after the command name in parentheses: state is field 3, utime 14, stime 15.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 1));
  std::string skipped;
  for (int field = 3; field <= 13; ++field) fields >> skipped;
  long long user = 0, system = 0;
  if (!(fields >> user >> system)) return -1;
  return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

void ChildProcess::terminate() {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
}

ChildEnd ChildProcess::wait() {
  if (pid_ <= 0) return end_;
  int status = 0;
  rusage usage{};
  while (::wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  end_ = {exitStatusOf(status), nowSeconds() - startSeconds_, usage.ru_maxrss,
          secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime)};
  pid_ = -1;
  if (output_ != nullptr) std::fclose(output_);
  output_ = nullptr;
  return end_;
}

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    const std::string name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const std::string& change : changes) replaced = replaced || change.starts_with(name);
    if (!replaced) environment.push_back(text);
  }
  environment.insert(environment.end(), changes.begin(), changes.end());
  return environment;
}

Measure measureInChild(const std::string& name, const std::function<Measure()>& body) {
  int result[2];
  if (::pipe2(result, O_CLOEXEC) != 0) return failedMeasure(name);
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(result[0]);
    const bool handed = writeAll(result[1], encode(body()));
    ::_exit(handed ? 0 : 1);
  }
  ::close(result[1]);
  if (pid < 0) {
    ::close(result[0]);
    return failedMeasure(name);
  }
  Measure measure = decode(readAll(result[0]));
  if (measure.name.empty()) measure.name = name;
  ::close(result[0]);
  int status = 0;
  rusage usage{};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) measure.items = -1;
  measure.peakRssKib = usage.ru_maxrss;
  return measure;
}

}  // namespace dks
