#include "app/CommandLine.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <memory>

#include "Version.h"
#include "app/ConfigCommand.h"
#include "app/RunReport.h"
#include "app/ScanCommand.h"
#include "app/StatusCommand.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "automation/BusServer.h"
#include "automation/ServiceFile.h"
#include "platform/Failure.h"
#include "platform/Hive.h"
#include "platform/HiveUtility.h"
#include "platform/LinuxPlatform.h"
#include "platform/PosixFileSystem.h"
#include "platform/ProcessFacts.h"
#include "platform/maildir/MaildirApplication.h"

namespace dks {
namespace {

std::string versionText() {
  return "dks-reconciler " + std::to_string(version::kMajor) + "." +
         std::to_string(version::kMinor) + "." + std::to_string(version::kRevision);
}

// Reconciles once and ends the process: Main does not return in the standalone start mode.
int runStandalone(bool dryRun) {
  try {
    LinuxPlatform platform(kStandalone, hivePathFromEnvironment());
    auto report =
        std::make_shared<RunReport>(std::cout, std::cerr, isatty(STDERR_FILENO) == 1, dryRun);
    modApplication::Main(platform, [&] { return modApplication::reconcileStandalone(report); });
  } catch (const Failure& failure) {
    printError(std::cerr, failure.description());
  }
  return kExitNotStarted;
}

// Starts up for automation and serves the session bus until the server may end.
int runServe(int idleSeconds) {
  try {
    LinuxPlatform platform(kAutomation, hivePathFromEnvironment());
    modApplication::Main(platform, {});
    return automation::serve(std::chrono::seconds(idleSeconds));
  } catch (const Failure& failure) {
    printError(std::cerr, failure.description());
  }
  return kExitNotStarted;
}

int runRegister() {
  try {
    std::string path = automation::serviceFilePath(processEnvironment);
    automation::writeServiceFile(path, runningExecutable());
    std::cout << "registered " << automation::kBusName << ": " << path << "\n";
    return 0;
  } catch (const Failure& failure) {
    printError(std::cerr, "cannot register: " + failure.description());
    return 1;
  }
}

int runUnregister() {
  try {
    std::string path = automation::serviceFilePath(processEnvironment);
    if (automation::removeServiceFile(path)) {
      std::cout << "unregistered " << automation::kBusName << ": removed " << path << "\n";
    } else {
      std::cout << "not registered: " << path << " does not exist\n";
    }
    return 0;
  } catch (const Failure& failure) {
    printError(std::cerr, "cannot unregister: " + failure.description());
    return 1;
  }
}

// Prints the mail store as a run sees it; errors go to standard error only.
int runScan(bool subFolders) {
  int status = 1;
  try {
    gcolError = std::make_shared<colError>(
        std::make_shared<PosixFileSystem>(),
        [](const clsError& record) { printError(std::cerr, colError::recordLine(record)); });
    status = printScan(openUserMaildirStore(hivePathFromEnvironment()), subFolders, std::cout,
                       std::cerr);
  } catch (const Failure& failure) {
    printError(std::cerr, "cannot open the mail store: " + failure.description());
  }
  gcolError.reset();
  return status;
}

int runStatus() {
  try {
    auto fileSystem = std::make_shared<PosixFileSystem>();
    HiveUtility utility(Hive::open(hivePathFromEnvironment()), fileSystem);
    return showStatus(utility, describeProcess(kStandalone), *fileSystem, std::cout);
  } catch (const Failure& failure) {
    printError(std::cerr, failure.description());
    return 1;
  }
}

}  // namespace

void printError(std::ostream& err, std::string_view message) {
  err << "dks-reconciler: " << message << "\n";
}

int runCommandLine(int argc, char** argv) {
  CLI::App app{"Keeps a DKS document server informed about the e-mails in a mail store.",
               "dks-reconciler"};
  app.set_version_flag("--version", versionText());
  app.require_subcommand(0, 1);
  app.footer(
      "Without a command, dks-reconciler runs once (as `run`). The settings hive is $DKSR_HIVE, "
      "else $XDG_CONFIG_HOME/dks-reconciler/registry.db.");

  int exitStatus = 0;
  auto* run =
      app.add_subcommand("run", "Reconcile the mail store with the document server once, then end");
  bool dryRun = false;
  run->add_flag("--dry-run", dryRun,
                "List and walk, then print what would be sent instead of sending it; no setting "
                "or progress mark is written");
  run->callback([&] { exitStatus = runStandalone(dryRun); });
  auto* scan = app.add_subcommand(
      "scan", "Show the mail store as a run sees it: folder facts and one line per message");
  bool subFolders = false;
  scan->add_flag("--subfolders", subFolders, "Also walk the sub-folders, depth first");
  scan->callback([&] { exitStatus = runScan(subFolders); });
  app.add_subcommand("status", "Show the progress marks of the last run and the error log")
      ->callback([&] { exitStatus = runStatus(); });
  auto* serve = app.add_subcommand(
      "serve", "Stay loaded as the automation server on the session bus (" +
                   std::string(automation::kBusName) + ")");
  int idleSeconds = static_cast<int>(automation::kDefaultIdle.count());
  serve
      ->add_option("--idle-seconds", idleSeconds,
                   "End after this many seconds in which no client holds a reconciler")
      ->check(CLI::PositiveNumber);
  serve->callback([&] { exitStatus = runServe(idleSeconds); });
  app.add_subcommand("register",
                     "Let the session bus start the server on demand (writes its activation file)")
      ->callback([&] { exitStatus = runRegister(); });
  app.add_subcommand("unregister", "Remove the activation file that `register` wrote")
      ->callback([&] { exitStatus = runUnregister(); });
  addConfigCommand(app, exitStatus);

  CLI11_PARSE(app, argc, argv);
  if (app.get_subcommands().empty()) exitStatus = runStandalone(false);
  return exitStatus;
}

}  // namespace dks
