#include "reconcile/clsReconciler.h"

#include <limits>
#include <string>

#include "app/attempt.h"
#include "app/clsApplication.h"
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
  return attempt(kClass, "pblnReconcile", [&] {
    std::string stamp;
    if (!requireUtility().GetTimeStamp(stamp)) return false;
    clsApplication& application = requireApplication();
    application.setStarted(stamp);
    // Arithmetic: a State left at 5 by a failed run becomes 9.
    const int32_t state = application.State();
    if (state > std::numeric_limits<int32_t>::max() - rsRunning) throw Failure::overflow();
    application.setState(state + rsRunning);

    if (!include_) throw Failure::objectNotSet();
    const int32_t count = include_->Count();
    for (int32_t index = 1; index <= count; ++index) {
      std::shared_ptr<clsInclude> include = include_->Item(index);
      if (!include) throw Failure::objectNotSet();
      if (!include->pblnReconcile()) return false;
    }

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

    if (!requireUtility().GetTimeStamp(stamp)) return false;
    application.setFinished(stamp);
    return true;
  });
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

}  // namespace dks
