// clsReconciler: the class through which a reconciliation run is started, standalone or by an
// automation client. It owns the include folders and runs each one's pass in order, keeping the
// progress marks Started, State, Flags and Finished of the application settings:
//
//   Started = now; State += rsRunning
//   every include folder's pblnReconcile, stopping at the first False
//   Flags: rfInstallation and then rfSettingsChanged consumed; State = rsDefault or rsUser
//   Finished = now
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "reconcile/RunMonitor.h"
#include "reconcile/colInclude.h"

namespace dks {

class clsApplication;

class clsReconciler {
 public:
  /// Runs pblnReset: the include folders as the registry holds them.
  clsReconciler();

  /// The include folders.
  std::shared_ptr<colInclude> Include() const noexcept { return include_; }

  /// The application's State.
  int32_t State() const;

  /// Releases the process-wide objects (modApplication::pblnShutDown); no member may be used
  /// afterwards.
  void ShutDown();

  /// One run over every include folder. True when every pass succeeded and the run was closed
  /// (Flags consumed, State and Finished written). A folder whose pass fails ends the run: the
  /// folders after it are not visited and State keeps its raised value. A failure is recorded
  /// under ("clsReconciler", "pblnReconcile"). The monitor, when set, sees the end of every
  /// pass and of the run.
  bool pblnReconcile();

  /// Creates the include folder set, or reads it again from the registry.
  bool pblnReset();

  /// The monitor of the runs to come, handed to every include folder's pass. In a dry run the
  /// progress marks are not written. Empty: runs report nothing.
  void setMonitor(std::shared_ptr<RunMonitor> monitor) noexcept;

 private:
  // Every include folder's pass in order; False at the first that fails.
  bool reconcileIncludes();
  // Consumes Flags and writes State and Finished.
  bool closeRun(clsApplication& application);

  std::shared_ptr<colInclude> include_;
  std::shared_ptr<RunMonitor> monitor_;
};

}  // namespace dks
