#include "app/modApplication.h"

#include <utility>

#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/colError.h"
#include "platform/Failure.h"
#include "reconcile/clsReconciler.h"

namespace dks {
namespace {
constexpr const char* kModule = "modApplication";
}  // namespace

SystemUtility& requireUtility() {
  if (!gobjUtility) throw Failure::objectNotSet();
  return *gobjUtility;
}

clsApplication& requireApplication() {
  if (!gobjApplication) throw Failure::objectNotSet();
  return *gobjApplication;
}

namespace modApplication {

bool reconcileStandalone(std::shared_ptr<RunMonitor> monitor) {
  gobjReconciler = std::make_shared<clsReconciler>();
  gobjReconciler->setMonitor(std::move(monitor));
  return gobjReconciler->pblnReconcile();
}

void Main(Platform& platform, const StandaloneRun& standaloneRun) {
  bool stayLoaded = false;
  int status = kExitNotStarted;
  attempt(kModule, "Main", [&] {
    if (!pblnStartUp(platform)) return;
    if (platform.App().StartMode == kAutomation) {
      stayLoaded = true;
      return;
    }
    status = kExitRunFailed;
    if (!standaloneRun) throw Failure::cannotCreateObject();
    if (standaloneRun()) status = kExitRunSucceeded;
  });
  if (stayLoaded) return;
  pblnShutDown();
  platform.EndProcess(status);
}

bool pblnStartUp(Platform& platform) {
  return attempt(kModule, "pblnStartUp", [&] {
    if (platform.App().PrevInstance) return false;
    gobjUtility = platform.CreateUtility();
    gcolError = std::make_shared<colError>(
        platform.CreateFileSystem(),
        [&platform](const clsError& record) { platform.ShowError(colError::recordLine(record)); });
    gobjApplication = std::make_shared<clsApplication>(platform);
    gobjOutlook = platform.CreateObject("Outlook.Application");
    return true;
  });
}

bool pblnShutDown() {
  return attempt(kModule, "pblnShutDown", [] {
    gobjOutlook.reset();
    gobjApplication.reset();
    gcolError.reset();
    gobjUtility.reset();
  });
}

}  // namespace modApplication
}  // namespace dks
