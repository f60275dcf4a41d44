// LinuxPlatform: the real platform of a dks-reconciler process. The settings hive is an SQLite
// database, files are POSIX files, and automation classes are those registered by ProgID.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/InstanceLock.h"
#include "platform/Platform.h"

namespace dks {

class LinuxPlatform : public Platform {
 public:
  using ClassFactory = std::function<std::shared_ptr<AutomationObject>()>;

  /// The platform of this process started in `startMode` on the hive at `hivePath`. Takes the
  /// hive's instance lock for the life of the process; App().PrevInstance is True when another
  /// process holds it. Throws Failure when the lock file cannot be made. "Outlook.Application"
  /// is registered: the user's Maildir store (platform/maildir/MaildirApplication.h), with the
  /// settings of the hive when the hive file exists.
  LinuxPlatform(int32_t startMode, std::string hivePath);

  const ProcessApp& App() const override { return app_; }
  /// Opens the hive; throws Failure when it cannot be opened.
  std::shared_ptr<SystemUtility> CreateUtility() override;
  std::shared_ptr<FileSystem> CreateFileSystem() override;
  /// The stall guard is the integer value "HttpStallSeconds" of the platform's key
  /// (kPlatformKeyPath) when the hive exists and the value is at least 1, else
  /// kDefaultHttpStallSeconds; it is read once, at the first request object.
  std::unique_ptr<HttpRequest> CreateHttpRequest() override;
  std::shared_ptr<AutomationObject> CreateObject(std::string_view progID) override;
  void ShowError(std::string_view line) noexcept override;
  /// Flushes standard output and error, then ends the process with _exit.
  [[noreturn]] void EndProcess(int status) override;

  /// Makes the class `progID` (compared ignoring case) creatable through CreateObject.
  void RegisterClass(const std::string& progID, ClassFactory factory);

 private:
  ProcessApp app_;
  std::string hivePath_;
  std::unique_ptr<InstanceLock> lock_;
  std::map<std::string, ClassFactory> classes_;  // by case-folded ProgID
  int32_t httpStallSeconds_ = 0;                   // 0 until the first request object
};

}  // namespace dks
