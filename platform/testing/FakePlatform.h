// FakePlatform: a platform for tests. The utility component is a FakeUtility over an in-memory
// hive, files are real files (tests give the program folder of their own), the mail client is
// whatever `outlook` makes, and ending the process only records the status.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/PosixFileSystem.h"
#include "platform/testing/FakeUtility.h"

namespace dks {

class FakePlatform : public Platform {
 public:
  /// A platform whose program folder is `path`, with version 1.0.5 and the program's texts.
  explicit FakePlatform(std::string path) {
    app.Path = std::move(path);
    app.EXEName = "dks-reconciler";
    app.Title = "DKS Reconciler";
    app.CompanyName = "DKS Reconciler Developers";
    app.ProductName = "DKS Reconciler";
    app.Major = 1;
    app.Minor = 0;
    app.Revision = 5;
  }

  const ProcessApp& App() const override { return app; }

  std::shared_ptr<SystemUtility> CreateUtility() override {
    if (failUtility) throw Failure::cannotCreateObject();
    return utility;
  }

  std::shared_ptr<FileSystem> CreateFileSystem() override {
    return std::make_shared<PosixFileSystem>();
  }

  std::unique_ptr<HttpRequest> CreateHttpRequest() override {
    return std::make_unique<HttpRequest>(httpStallSeconds);
  }

  std::shared_ptr<AutomationObject> CreateObject(std::string_view progID) override {
    if (progID != "Outlook.Application" || !outlook) throw Failure::cannotCreateObject();
    return outlook();
  }

  void ShowError(std::string_view line) noexcept override { shownErrors.emplace_back(line); }

  void EndProcess(int status) override { endStatus = status; }

  ProcessApp app;
  std::shared_ptr<FakeUtility> utility =
      std::make_shared<FakeUtility>(std::make_shared<PosixFileSystem>());
  bool failUtility = false;
  /// The stall guard of the request objects this platform makes.
  int32_t httpStallSeconds = kDefaultHttpStallSeconds;
  /// Makes the mail client's application object; empty: it cannot be created.
  std::function<std::shared_ptr<AutomationObject>()> outlook;
  std::vector<std::string> shownErrors;
  std::optional<int> endStatus;
};

}  // namespace dks
