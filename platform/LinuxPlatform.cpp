#include "platform/LinuxPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/Failure.h"
#include "platform/Hive.h"
#include "platform/HiveUtility.h"
#include "platform/PosixFileSystem.h"
#include "platform/ProcessFacts.h"
#include "platform/Text.h"
#include "platform/maildir/MaildirApplication.h"

namespace dks {
namespace {

int32_t readHttpStallSeconds(const std::string& hivePath) {
  struct stat info;
  if (::stat(hivePath.c_str(), &info) != 0) return kDefaultHttpStallSeconds;
  try {
    std::optional<Variant> value = Hive::open(hivePath)->readValue(kPlatformKeyPath, "HttpStallSeconds");
    const auto* seconds = value ? std::get_if<int32_t>(&*value) : nullptr;
    return seconds && *seconds >= 1 ? *seconds : kDefaultHttpStallSeconds;
  } catch (const Failure&) {
    return kDefaultHttpStallSeconds;
  }
}

}  // namespace

LinuxPlatform::LinuxPlatform(int32_t startMode, std::string hivePath)
    : app_(describeProcess(startMode)),
      hivePath_(std::move(hivePath)),
      lock_(InstanceLock::acquire(hivePath_)) {
  app_.PrevInstance = lock_ == nullptr;
  RegisterClass("Outlook.Application",
                [hivePath = hivePath_] { return openUserMaildirStore(hivePath); });
}

std::shared_ptr<SystemUtility> LinuxPlatform::CreateUtility() {
  try {
    return std::make_shared<HiveUtility>(Hive::open(hivePath_), CreateFileSystem());
  } catch (const Failure& failure) {
    // Nothing can record this failure yet: the error collection comes after the utility.
    ShowError("cannot open the settings hive " + hivePath_ + ": " + failure.description());
    throw;
  }
}

std::shared_ptr<FileSystem> LinuxPlatform::CreateFileSystem() {
  return std::make_shared<PosixFileSystem>();
}

std::unique_ptr<HttpRequest> LinuxPlatform::CreateHttpRequest() {
  if (httpStallSeconds_ == 0) httpStallSeconds_ = readHttpStallSeconds(hivePath_);
  return std::make_unique<HttpRequest>(httpStallSeconds_);
}

std::shared_ptr<AutomationObject> LinuxPlatform::CreateObject(std::string_view progID) {
  auto found = classes_.find(foldCase(progID));
  if (found == classes_.end()) throw Failure::cannotCreateObject();
  return found->second();
}

void LinuxPlatform::ShowError(std::string_view line) noexcept {
  std::fprintf(stderr, "%s: %.*s\n", app_.EXEName.c_str(), static_cast<int>(line.size()),
               line.data());
}

void LinuxPlatform::EndProcess(int status) {
  std::fflush(nullptr);
  _exit(status);
}

void LinuxPlatform::RegisterClass(const std::string& progID, ClassFactory factory) {
  classes_[foldCase(progID)] = std::move(factory);
}

}  // namespace dks
