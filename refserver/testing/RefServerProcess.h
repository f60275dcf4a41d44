// RefServerProcess: the reference server executable (DKSR_REFSERVER) running for a test on a
// free loopback port over the catalogue `catalogue`, stopped with SIGTERM when the object ends.
//
//   RefServerProcess server(dir.file("catalogue.db"));
//   action.setScript(server.url("/updateDocumentStatus"));
//   ...
//   std::string lines = dumpCatalogue(dir.file("catalogue.db"));
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace dks {

class RefServerProcess {
 public:
  explicit RefServerProcess(const std::string& catalogue) {
    int output[2];
    if (::pipe(output) != 0) throw std::runtime_error("cannot make a pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(output[1], STDOUT_FILENO);
      ::close(output[0]);
      ::close(output[1]);
      ::execl(DKSR_REFSERVER, DKSR_REFSERVER, "--listen", "127.0.0.1:0", "--catalogue",
              catalogue.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(output[1]);
    FILE* stream = ::fdopen(output[0], "r");
    char line[256] = "";
    const bool read = std::fgets(line, sizeof line, stream) != nullptr;
    std::fclose(stream);
    const std::string text = read ? line : "";
    const size_t colon = text.rfind(':');
    if (!text.starts_with("listening on ") || colon == std::string::npos) {
      stop();
      throw std::runtime_error("the reference server did not start: " + text);
    }
    port_ = std::stoi(text.substr(colon + 1));
  }

  ~RefServerProcess() { stop(); }

  RefServerProcess(const RefServerProcess&) = delete;
  RefServerProcess& operator=(const RefServerProcess&) = delete;

  /// "http://127.0.0.1:PORT" followed by `path`.
  std::string url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  int port() const noexcept { return port_; }

  /// Stops the server with SIGTERM and returns its exit status (-1 when a signal ended it);
  /// -1 again once it was stopped.
  int stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

/// What `dks-refserver --catalogue FILE --dump` prints.
inline std::string dumpCatalogue(const std::string& catalogue) {
  const std::string command =
      std::string(DKSR_REFSERVER) + " --catalogue '" + catalogue + "' --dump";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string text;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    text.append(buffer, got);
  ::pclose(pipe);
  return text;
}

}  // namespace dks
