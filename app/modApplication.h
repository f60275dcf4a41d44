// modApplication: the process entry, start-up and shut-down, and the process-wide references
// through which every other class reaches the utility component, the error collection, the
// settings, the reconciler and the mail client.
#pragma once

#include <functional>
#include <memory>

#include "platform/Platform.h"

namespace dks {

class clsApplication;
class clsReconciler;
class colError;
class RunMonitor;

// The process-wide references, empty until start-up sets them. Created in this order by
// pblnStartUp and released in the order Outlook, application, errors, utility by pblnShutDown.
inline std::shared_ptr<SystemUtility> gobjUtility;
inline std::shared_ptr<colError> gcolError;
inline std::shared_ptr<clsApplication> gobjApplication;
inline std::shared_ptr<AutomationObject> gobjOutlook;
/// The reconciler of a standalone run; never released (the process ends first).
inline std::shared_ptr<clsReconciler> gobjReconciler;

/// gobjUtility, or Failure 91 when it is not set.
SystemUtility& requireUtility();
/// gobjApplication, or Failure 91 when it is not set.
clsApplication& requireApplication();

/// Process exit statuses.
inline constexpr int kExitRunSucceeded = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitNotStarted = 2;

namespace modApplication {

/// What a standalone start runs once after start-up and whose result sets the exit status:
/// reconcileStandalone, or a test's own run.
using StandaloneRun = std::function<bool()>;

/// The standalone run: creates gobjReconciler with `monitor` (may be empty) and returns its
/// pblnReconcile(). Failures pass to the caller, which is Main.
bool reconcileStandalone(std::shared_ptr<RunMonitor> monitor);

/// The process entry. Starts up; standalone, runs `standaloneRun` once, shuts down and ends the
/// process with kExitRunSucceeded or kExitRunFailed (kExitNotStarted when start-up failed or
/// another instance runs). For automation it returns with the process-wide objects alive.
/// An empty `standaloneRun` fails as a class that cannot be created (429).
void Main(Platform& platform, const StandaloneRun& standaloneRun);

/// Creates gobjUtility, gcolError, gobjApplication and gobjOutlook in that order. False, with
/// nothing created, when another instance runs; False after a recorded failure, with the
/// objects created so far left in place.
bool pblnStartUp(Platform& platform);

/// Releases gobjOutlook, gobjApplication, gcolError and gobjUtility in that order, each if it is
/// set. True; a second call finds nothing to release.
bool pblnShutDown();

}  // namespace modApplication
}  // namespace dks
