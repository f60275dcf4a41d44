// A test fixture that stands the application host up on a fake platform: a fake utility
// component over an in-memory hive, real files in a folder of the test's own, and the
// process-wide references set as start-up sets them. Every test ends with a shut-down.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/clsApplication.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "platform/testing/FakePlatform.h"
#include "platform/testing/TempFolder.h"

namespace dks {

inline constexpr const char* kSharedKey = "Software\\DKS\\Settings";
inline constexpr const char* kAppKey = "Software\\DKS\\Reconciler";
inline constexpr const char* kStamp = "05/12/2026 10:00:00";

/// The eight header lines of a log as the fake platform's application object writes them.
inline std::string logHeader(const std::string& title) {
  const std::string rule = "'" + std::string(99, '-') + "\r\n";
  return rule + "'" + std::string(45, ' ') + title + "\r\n" + "'\r\n" +
         "'  Company: Dks Reconciler Developers\r\n" + "'  Product: Dks Reconciler\r\n" +
         "'  Created: " + kStamp + "\r\n" + "'  Version: 01.00.05\r\n" + rule;
}

class HostFixture : public ::testing::Test {
 protected:
  HostFixture() : platform(dir.path()) { platform.utility->stamp = kStamp; }
  ~HostFixture() override { modApplication::pblnShutDown(); }

  /// Sets gobjUtility and gcolError, as start-up does before the application object.
  void createUtilityAndErrors() {
    gobjUtility = platform.CreateUtility();
    gcolError = std::make_shared<colError>(platform.CreateFileSystem());
  }

  /// Start-up without the mail client: utility, error collection, application object.
  clsApplication& startHost() {
    createUtilityAndErrors();
    gobjApplication = std::make_shared<clsApplication>(platform);
    return *gobjApplication;
  }

  /// startHost() with the "Debug" setting at `level`.
  clsApplication& startAtDebugLevel(int32_t level) {
    platform.utility->setValue(kAppKey, "Debug", level);
    return startHost();
  }

  /// Points the shared Host and Port settings at the server at `url` ("http://HOST:PORT"), so
  /// that every exchange of a host started afterwards goes there.
  void useServer(const std::string& url) {
    const size_t colon = url.rfind(':');
    platform.utility->setValue(kSharedKey, "Host", url.substr(0, colon));
    platform.utility->setValue(kSharedKey, "Port", url.substr(colon + 1));
  }

  /// The run log's text as the default LogFile setting names it.
  std::string runLog() const { return readFileBytes(dir.file("vezezodirerozer.log")); }

  /// The error log line of a record added at kStamp.
  static std::string errorLine(const std::string& object, const std::string& procedure,
                               int32_t number, const std::string& description) {
    return std::string(kStamp) + " " + object + " " + procedure + " " + std::to_string(number) +
           " " + description;
  }

  /// The records of gcolError as error log lines.
  std::vector<std::string> errorLines() const {
    std::vector<std::string> lines;
    for (const auto& record : gcolError->NewEnum()) lines.push_back(colError::recordLine(*record));
    return lines;
  }

  TempFolder dir;
  FakePlatform platform;
};

}  // namespace dks
