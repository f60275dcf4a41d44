#include "platform/ProcessFacts.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "Version.h"
#include "platform/Failure.h"
#include "platform/Folders.h"

namespace dks {
namespace {

constexpr const char* kFolderName = "dks-reconciler";
constexpr mode_t kPrivateFolder = 0700;

std::string variable(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment(name);
  return value ? value : "";
}

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The per-user state folder. A relative XDG_STATE_HOME is ignored, as the XDG base directory
/// rules ask.
std::string stateFolder(const EnvironmentLookup& environment) {
  std::string state = variable(environment, "XDG_STATE_HOME");
  if (state.empty() || state.front() != '/') state = homeFolder(environment) + "/.local/state";
  return withoutTrailingSeparators(state) + "/" + kFolderName;
}

std::string programFolder(const std::string& executablePath, const EnvironmentLookup& environment) {
  std::string folder = withoutTrailingSeparators(variable(environment, "DKSR_HOME"));
  if (folder.empty()) {
    std::string executableFolder = folderOf(executablePath);
    if (access(executableFolder.c_str(), W_OK) == 0) return executableFolder;
    folder = stateFolder(environment);
  }
  createFolders(folder, kPrivateFolder);
  return folder;
}

}  // namespace

std::string homeFolder(const EnvironmentLookup& environment) {
  std::string home = variable(environment, "HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd account;
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &account, buffer.data(), buffer.size(), &found) != 0 || !found) {
    throw Failure::pathNotFound();
  }
  return found->pw_dir;
}

std::string runningExecutable() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) throw Failure::fromErrno(errno);
    if (static_cast<size_t>(length) < buffer.size())
      return std::string(buffer.data(), static_cast<size_t>(length));
    buffer.resize(buffer.size() * 2);  // the name may have been cut
  }
}

std::string dataFolder(const EnvironmentLookup& environment) {
  std::string data = variable(environment, "XDG_DATA_HOME");
  if (data.empty() || data.front() != '/') data = homeFolder(environment) + "/.local/share";
  return withoutTrailingSeparators(data);
}

ProcessApp describeProcess(int32_t startMode, const std::string& executablePath,
                           const EnvironmentLookup& environment) {
  ProcessApp app;
  app.Path = programFolder(executablePath, environment);
  app.EXEName = fileNameOf(executablePath);
  app.Title = "DKS Reconciler";
  app.Comments = "Keeps a DKS document server informed about the e-mails in a mail store";
  app.CompanyName = "DKS Reconciler Developers";
  app.ProductName = "DKS Reconciler";
  app.LegalCopyright = "Copyright (C) 2026 the dks-reconciler developers";
  app.Major = version::kMajor;
  app.Minor = version::kMinor;
  app.Revision = version::kRevision;
  app.hInstance = static_cast<int32_t>(getpid());
  app.PrevInstance = false;
  app.StartMode = startMode;
  return app;
}

const char* processEnvironment(const char* name) { return std::getenv(name); }

ProcessApp describeProcess(int32_t startMode) {
  return describeProcess(startMode, runningExecutable(), processEnvironment);
}

}  // namespace dks
