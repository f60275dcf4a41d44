// The platform the program stands on: the process's application object, the utility
// component, file-system objects, automation objects created by ProgID, and the end of the
// process. app/ builds the real one (platform/LinuxPlatform.h) once; tests build a fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/HttpRequest.h"
#include "platform/SystemUtility.h"

namespace dks {

/// Facts of the executable and of this process (the process's application object).
struct ProcessApp {
  std::string Path;     ///< folder for the program's own files, without a trailing separator
  std::string EXEName;  ///< the executable's file name
  std::string Title;
  std::string Comments;
  std::string CompanyName;
  std::string LegalCopyright;
  std::string ProductName;
  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t Revision = 0;
  int32_t hInstance = 0;      ///< the process id
  bool PrevInstance = false;  ///< another process holds this hive's instance lock
  int32_t StartMode = 0;      ///< 0 standalone, 1 automation
};

/// Start modes of ProcessApp::StartMode.
inline constexpr int32_t kStandalone = 0;
inline constexpr int32_t kAutomation = 1;

/// Base of every object that can be created by ProgID.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual const ProcessApp& App() const = 0;

  /// Creates the utility component. Throws Failure when it cannot be created (for example the
  /// hive cannot be opened).
  virtual std::shared_ptr<SystemUtility> CreateUtility() = 0;

  /// Creates a file-system object.
  virtual std::shared_ptr<FileSystem> CreateFileSystem() = 0;

  /// Creates an HTTP request object with the platform's stall guard.
  virtual std::unique_ptr<HttpRequest> CreateHttpRequest() = 0;

  /// Creates the automation object of the class registered as `progID`. Throws Failure 429
  /// "ActiveX component can't create object" when no such class is registered or it cannot be
  /// created.
  virtual std::shared_ptr<AutomationObject> CreateObject(std::string_view progID) = 0;

  /// Shows one error line to the person who started the program (the real platform writes it
  /// to standard error). Never fails.
  virtual void ShowError(std::string_view line) noexcept = 0;

  /// Ends the process at once with `status`; nothing of the program runs after it. A fake may
  /// return, so callers return right after it.
  virtual void EndProcess(int status) = 0;
};

}  // namespace dks
