#include "reconcile/clsReconciler.h"

#include <limits>
#include <string>
#include <utility>

#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/colError.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Failure.h"

namespace dks {
namespace {

constexpr const char* kClass = "clsReconciler";

}  // namespace

clsReconciler::clsReconciler() {
  pblnReset();
}

int32_t clsReconciler::State() const {
  return attemptValue<int32_t>(kClass, "State", [] { return requireApplication().State(); });
}

void clsReconciler::ShutDown() {
  modApplication::pblnShutDown();
}

bool clsReconciler::pblnReconcile() {
  const int32_t errorsBefore = gcolError ? gcolError->Count() : 0;
  const bool dryRun = monitor_ && monitor_->dryRun();
  const bool reconciled = attempt(kClass, "pblnReconcile", [&] {
    clsApplication& application = requireApplication();
    if (dryRun) return reconcileIncludes();

    std::string stamp;
    if (!requireUtility().GetTimeStamp(stamp)) return false;
    application.setStarted(stamp);
    // Arithmetic: a State left at 5 by a failed run becomes 9.
    const int32_t state = application.State();
    if (state > std::numeric_limits<int32_t>::max() - rsRunning) throw Failure::overflow();
    application.setState(state + rsRunning);
    return reconcileIncludes() && closeRun(application);
  });
  if (monitor_) monitor_->runEnded(reconciled, (gcolError ? gcolError->Count() : 0) - errorsBefore);
  return reconciled;
}

bool clsReconciler::reconcileIncludes() {
  if (!include_) throw Failure::objectNotSet();
  const int32_t count = include_->Count();
  for (int32_t index = 1; index <= count; ++index) {
    std::shared_ptr<clsInclude> include = include_->Item(index);
    if (!include) throw Failure::objectNotSet();
    include->setMonitor(monitor_);
    if (!include->pblnReconcile()) return false;
  }
  return true;
}

bool clsReconciler::closeRun(clsApplication& application) {
  int32_t flags = application.Flags();
  if ((flags & rfInstallation) == rfInstallation) {
    flags -= rfInstallation;
    application.setFlags(flags);
  }
  if ((flags & rfSettingsChanged) != 0) {
    application.setFlags(flags - rfSettingsChanged);
    application.setState(rsUser);
  } else {
    application.setState(rsDefault);
  }

  std::string stamp;
  if (!requireUtility().GetTimeStamp(stamp)) return false;
  application.setFinished(stamp);
  return true;
}

bool clsReconciler::pblnReset() {
  return attempt(kClass, "pblnReset", [&] {
    if (!include_) {
      include_ = std::make_shared<colInclude>();
      return true;
    }
    return include_->pblnReset();
  });
}

void clsReconciler::setMonitor(std::shared_ptr<RunMonitor> monitor) noexcept {
  monitor_ = std::move(monitor);
}

}  // namespace dks
