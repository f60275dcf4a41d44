// clsApplication: the one settings object of the process. It gathers the facts of the
// executable, fixed defaults and the user's registry values, keeps the progress marks of a
// reconciliation (Started, Finished, State, Flags) in the registry where other programs can
// watch them, and writes the run log.
//
// Setters hold the normalising rules (trimming, case, clamps), so no caller can bypass them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace dks {

class clsApplication {
 public:
  /// Loads the settings (pblnReset); a failure is recorded and the defaults loaded so far stay.
  explicit clsApplication(Platform& platform);
  /// Closes the run log and deletes the request and response dump files.
  ~clsApplication();
  clsApplication(const clsApplication&) = delete;
  clsApplication& operator=(const clsApplication&) = delete;

  /// The platform this process stands on. Classes that make platform objects of their own
  /// (file-system objects, HTTP request objects) reach it here.
  Platform& platform() const noexcept { return platform_; }

  int32_t Action() const noexcept { return action_; }
  void setAction(int32_t value) noexcept { action_ = value; }
  const std::string& ApplicationTitle() const noexcept { return applicationTitle_; }
  void setApplicationTitle(std::string_view value);  // proper case
  const std::string& Comment() const noexcept { return comment_; }
  void setComment(std::string_view value);
  const std::string& CompanyName() const noexcept { return companyName_; }
  void setCompanyName(std::string_view value);  // proper case
  int32_t DebugLevel() const noexcept { return debugLevel_; }
  void setDebugLevel(int32_t value) noexcept;  // clamped to 0..4
  const std::string& ErrorLog() const noexcept { return errorLog_; }
  void setErrorLog(std::string_view value);  // lower case
  const std::string& ExecutableName() const noexcept { return executableName_; }
  void setExecutableName(std::string_view value);  // lower case
  const std::string& ExecutablePath() const noexcept { return executablePath_; }
  void setExecutablePath(std::string_view value);  // lower case
  const std::string& Finished() const noexcept { return finished_; }
  /// Stores the trimmed text and writes it to the registry ("\Finished").
  void setFinished(std::string_view value);

  /// Read from the registry ("\Flags") on every call: the stored value when it can be read and
  /// is not 0, else 0. A stored value that is no number is recorded and gives 0.
  int32_t Flags() const;
  /// Writes the value (negative numbers as 0) to the registry; lost when the key is not known.
  void setFlags(int32_t value);

  int32_t Handle() const noexcept { return handle_; }
  void setHandle(int32_t value) noexcept { handle_ = value; }
  const std::string& Host() const noexcept { return host_; }
  void setHost(std::string_view value);  // lower case, spaces kept
  int32_t Interval() const noexcept { return interval_; }
  void setInterval(int32_t value) noexcept { interval_ = value; }
  const std::string& LegalCopyright() const noexcept { return legalCopyright_; }
  void setLegalCopyright(std::string_view value);
  const std::string& LogFile() const noexcept { return logFile_; }
  void setLogFile(std::string_view value);  // lower case
  const std::string& Port() const noexcept { return port_; }
  void setPort(std::string_view value);  // lower case, spaces kept
  bool PreviousInstance() const noexcept { return previousInstance_; }
  void setPreviousInstance(bool value) noexcept { previousInstance_ = value; }
  const std::string& ProductName() const noexcept { return productName_; }
  void setProductName(std::string_view value);  // proper case
  const std::string& ResponseLog() const noexcept { return responseLog_; }
  void setResponseLog(std::string_view value);  // lower case
  const std::string& RequestLog() const noexcept { return requestLog_; }
  void setRequestLog(std::string_view value);  // lower case
  const std::string& Script() const noexcept { return script_; }
  void setScript(std::string_view value);
  const std::string& Started() const noexcept { return started_; }
  /// Stores the trimmed text and writes it to the registry ("\Started").
  void setStarted(std::string_view value);
  int32_t State() const noexcept { return state_; }
  /// Stores the number and writes it to the registry ("\State").
  void setState(int32_t value);
  const std::string& URN() const noexcept { return urn_; }
  void setURN(std::string_view value);  // proper case
  int32_t UserID() const noexcept { return userID_; }
  void setUserID(int32_t value) noexcept;  // values below 1 become 1
  const std::string& VersionNumber() const noexcept { return versionNumber_; }
  void setVersionNumber(std::string_view value);

  /// Writes one line to the run log: an entry (time stamp, ", ", the trimmed text), a comment
  /// line (trimmed text beginning with "'") or an empty line. The first line of a run, or the
  /// first after the file went away, starts the file with its header. True when written or
  /// when DebugLevel is 0 (no file is touched then); False when nothing could be written.
  bool pblnLog(std::string_view strLog);

  /// Sets every default, then loads the shared settings (key 1) and the application settings
  /// (key 41), and deletes the previous run's error log, run log and dump files. False when a
  /// key or value cannot be read or a file cannot be deleted, with what was loaded so far kept;
  /// a value that is no number is recorded.
  bool pblnReset();

 private:
  void setDefaults();
  bool loadSharedSettings(const std::string& keyPath);
  bool loadApplicationSettings(const std::string& keyPath);
  bool deletePreviousRunFiles();
  void writeProgressMark(std::string_view property, std::string_view name, const Variant& value,
                         int32_t kind);
  void startRunLog(const std::string& stamp);

  Platform& platform_;
  int32_t action_ = 0;
  std::string applicationTitle_;
  std::string comment_;
  std::string companyName_;
  int32_t debugLevel_ = 0;
  std::string errorLog_;
  std::string executableName_;
  std::string executablePath_;
  std::string finished_;
  int32_t handle_ = 0;
  std::string host_;
  int32_t interval_ = 0;
  std::string legalCopyright_;
  std::string logFile_;
  std::string port_;
  bool previousInstance_ = false;
  std::string productName_;
  std::string responseLog_;
  std::string requestLog_;
  std::string script_;
  std::string started_;
  int32_t state_ = 0;
  std::string urn_;
  int32_t userID_ = 0;
  std::string versionNumber_;

  // The run log: the file-system object and the open stream, from the first line written
  // until the object ends.
  std::shared_ptr<FileSystem> logFileSystem_;
  std::unique_ptr<TextStream> logStream_;
};

/// The error log of a program whose settings name none: "qdmError.log" in its folder `path`.
std::string defaultErrorLog(const std::string& path);

/// Major, minor and revision, each in decimal cut to its last two digits, joined by ".".
std::string versionNumberText(int32_t major, int32_t minor, int32_t revision);

}  // namespace dks
