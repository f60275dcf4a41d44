#include "app/clsApplication.h"

#include <algorithm>

#include "app/LogHeader.h"
#include "app/RegistryValue.h"
#include "app/attempt.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsApplication";
constexpr const char* kDefaultHost = "http://localhost";
constexpr const char* kDefaultPort = "8080";
constexpr const char* kDefaultScriptPath = "updateDocumentStatus";
constexpr const char* kDefaultURN = "schemas-xmlsoap-org:soap.v1";

std::string lastTwoDigits(int32_t part) {
  std::string text = "00" + std::to_string(part);
  return text.substr(text.size() - 2);
}

}  // namespace

std::string defaultErrorLog(const std::string& path) {
  return path + "\\qdmError.log";
}

std::string versionNumberText(int32_t major, int32_t minor, int32_t revision) {
  return lastTwoDigits(major) + "." + lastTwoDigits(minor) + "." + lastTwoDigits(revision);
}

clsApplication::clsApplication(Platform& platform) : platform_(platform) {
  attempt(kClass, "ClassInitialize", [this] { pblnReset(); });
}

clsApplication::~clsApplication() {
  ignoreFailures([this] {
    if (logStream_) logStream_->Close();
  });
  logStream_.reset();
  logFileSystem_.reset();
  ignoreFailures([this] {
    if (!gobjUtility) return;
    gobjUtility->DeleteFile(RequestLog(), true);
    gobjUtility->DeleteFile(ResponseLog(), true);
  });
}

// ---- Setters: the stored forms -------------------------------------------------------------

void clsApplication::setApplicationTitle(std::string_view value) {
  applicationTitle_ = properCase(trimSpaces(value));
}
void clsApplication::setComment(std::string_view value) {
  comment_ = trimSpaces(value);
}
void clsApplication::setCompanyName(std::string_view value) {
  companyName_ = properCase(trimSpaces(value));
}
void clsApplication::setDebugLevel(int32_t value) noexcept {
  debugLevel_ = std::clamp<int32_t>(value, dlNone, dlFour);
}
void clsApplication::setErrorLog(std::string_view value) {
  errorLog_ = lowerCase(trimSpaces(value));
}
void clsApplication::setExecutableName(std::string_view value) {
  executableName_ = lowerCase(trimSpaces(value));
}
void clsApplication::setExecutablePath(std::string_view value) {
  executablePath_ = lowerCase(trimSpaces(value));
}
void clsApplication::setHost(std::string_view value) {
  host_ = lowerCase(value);
}
void clsApplication::setLegalCopyright(std::string_view value) {
  legalCopyright_ = trimSpaces(value);
}
void clsApplication::setLogFile(std::string_view value) {
  logFile_ = lowerCase(trimSpaces(value));
}
void clsApplication::setPort(std::string_view value) {
  port_ = lowerCase(value);
}
void clsApplication::setProductName(std::string_view value) {
  productName_ = properCase(trimSpaces(value));
}
void clsApplication::setResponseLog(std::string_view value) {
  responseLog_ = lowerCase(trimSpaces(value));
}
void clsApplication::setRequestLog(std::string_view value) {
  requestLog_ = lowerCase(trimSpaces(value));
}
void clsApplication::setScript(std::string_view value) {
  script_ = trimSpaces(value);
}
void clsApplication::setURN(std::string_view value) {
  urn_ = properCase(trimSpaces(value));
}
void clsApplication::setUserID(int32_t value) noexcept {
  userID_ = std::max<int32_t>(value, 1);
}
void clsApplication::setVersionNumber(std::string_view value) {
  versionNumber_ = trimSpaces(value);
}

// ---- Progress marks: kept in the registry for other programs to watch ------------------------

void clsApplication::setStarted(std::string_view value) {
  started_ = trimSpaces(value);
  writeProgressMark("Started", "\\Started", started_, kValueText);
}

void clsApplication::setFinished(std::string_view value) {
  finished_ = trimSpaces(value);
  writeProgressMark("Finished", "\\Finished", finished_, kValueText);
}

void clsApplication::setState(int32_t value) {
  state_ = value;
  writeProgressMark("State", "\\State", state_, kValueInteger);
}

void clsApplication::setFlags(int32_t value) {
  writeProgressMark("Flags", "\\Flags", std::max<int32_t>(value, rfNone), kValueInteger);
}

int32_t clsApplication::Flags() const {
  return attemptValue<int32_t>(kClass, "Flags", [] {
    std::string keyPath;
    int32_t flags = rfNone;
    if (!requireUtility().GetKeyPath(kApplicationKey, keyPath)) return int32_t{rfNone};
    if (!readRegistryNumber(keyPath, "\\Flags", rfNone, flags)) return int32_t{rfNone};
    return flags;
  });
}

void clsApplication::writeProgressMark(std::string_view property, std::string_view name,
                                       const Variant& value, int32_t kind) {
  attempt(kClass, property, [&] {
    std::string keyPath;
    if (requireUtility().GetKeyPath(kApplicationKey, keyPath))
      writeRegistryValue(keyPath, name, value, kind);
  });
}

// ---- Run log --------------------------------------------------------------------------------

bool clsApplication::pblnLog(std::string_view strLog) {
  return attempt(kClass, "pblnLog", [&] {
    if (DebugLevel() == dlNone) return true;
    std::string stamp;
    if (!requireUtility().GetTimeStamp(stamp)) return false;
    if (!logStream_ || !logFileSystem_->FileExists(LogFile())) startRunLog(stamp);
    std::string text = trimSpaces(strLog);
    if (text.empty() || text.front() == '\'')
      logStream_->WriteLine(text);
    else
      logStream_->WriteLine(stamp + ", " + text);
    return true;
  });
}

void clsApplication::startRunLog(const std::string& stamp) {
  logStream_.reset();
  logFileSystem_ = platform_.CreateFileSystem();
  auto stream = logFileSystem_->CreateTextFile(LogFile(), true);
  writeLogHeader(*stream, upperCase(ApplicationTitle()) + " LOG", stamp);
  logStream_ = std::move(stream);
}

// ---- Loading --------------------------------------------------------------------------------

bool clsApplication::pblnReset() {
  return attempt(kClass, "pblnReset", [this] {
    setDefaults();
    std::string keyPath;
    if (!requireUtility().GetKeyPath(kSharedSettingsKey, keyPath)) return false;
    if (!loadSharedSettings(keyPath)) return false;
    if (!requireUtility().GetKeyPath(kApplicationKey, keyPath)) return false;
    if (!loadApplicationSettings(keyPath)) return false;
    return deletePreviousRunFiles();
  });
}

void clsApplication::setDefaults() {
  const ProcessApp& app = platform_.App();
  setAction(raDelete + raSave + raMove + raUpdate);
  setApplicationTitle(app.Title);
  setComment(app.Comments);
  setCompanyName(app.CompanyName);
  setDebugLevel(dlNone);
  setErrorLog(defaultErrorLog(app.Path));
  setExecutableName(app.EXEName + ".dll");
  setExecutablePath(app.Path);
  setFinished("");
  setHandle(app.hInstance);
  setHost(kDefaultHost);
  setInterval(0);
  setLegalCopyright(app.LegalCopyright);
  setLogFile(app.Path + "\\VezezOdirerozer.log");
  setPort(kDefaultPort);
  setPreviousInstance(app.PrevInstance);
  setProductName(app.ProductName);
  setResponseLog(app.Path + "\\qdmResponse.xml");
  setRequestLog(app.Path + "\\qdmRequest.xml");
  setScript(Host() + ":" + Port() + "/" + kDefaultScriptPath);
  setStarted("");
  state_ = rsDefault;  // kept in memory only; the registry keeps what the last run left
  setURN(kDefaultURN);
  setUserID(1);
  setVersionNumber(versionNumberText(app.Major, app.Minor, app.Revision));
}

bool clsApplication::loadSharedSettings(const std::string& keyPath) {
  int32_t number = 0;
  std::string text;
  if (!readRegistryNumber(keyPath, "\\UserID", UserID(), number)) return false;
  if (number != 0) setUserID(number);
  if (!readRegistryText(keyPath, "\\Host", Host(), text)) return false;
  if (!text.empty()) setHost(text);
  if (!readRegistryText(keyPath, "\\Port", Port(), text)) return false;
  if (!text.empty()) setPort(text);
  return true;
}

bool clsApplication::loadApplicationSettings(const std::string& keyPath) {
  int32_t number = 0;
  std::string text;
  if (!readRegistryNumber(keyPath, "\\Action", Action(), number)) return false;
  if (number != 0) setAction(number);
  if (!readRegistryNumber(keyPath, "\\Debug", DebugLevel(), number)) return false;
  if (number != 0) setDebugLevel(number);
  if (!readRegistryText(keyPath, "\\ErrorLog", ErrorLog(), text)) return false;
  if (!text.empty()) setErrorLog(text);
  if (!readRegistryNumber(keyPath, "\\Interval", Interval(), number)) return false;
  if (number != 0) setInterval(number);
  if (!readRegistryText(keyPath, "\\LogFile", LogFile(), text)) return false;
  if (!text.empty()) setLogFile(text);
  if (!readRegistryText(keyPath, "\\RequestLog", RequestLog(), text)) return false;
  if (!text.empty()) setRequestLog(text);
  if (!readRegistryText(keyPath, "\\ResponseLog", ResponseLog(), text)) return false;
  if (!text.empty()) setResponseLog(text);
  if (!readRegistryText(keyPath, "\\Script", kDefaultScriptPath, text)) return false;
  if (!text.empty()) setScript(Host() + ":" + Port() + "/" + text);
  // Only a finished run's State is trusted; one left with rsRunning added by an interrupted
  // run is ignored.
  if (!readRegistryNumber(keyPath, "\\State", State(), number)) return false;
  if (number == rsDefault || number == rsUser) state_ = number;
  if (!readRegistryText(keyPath, "\\URN", URN(), text)) return false;
  if (!text.empty()) setURN(text);
  return true;
}

bool clsApplication::deletePreviousRunFiles() {
  SystemUtility& utility = requireUtility();
  return utility.DeleteFile(ErrorLog(), true) && utility.DeleteFile(LogFile(), true) &&
         utility.DeleteFile(RequestLog(), true) && utility.DeleteFile(ResponseLog(), true);
}

}  // namespace dks
