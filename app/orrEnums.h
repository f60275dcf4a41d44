// The public enumerations of the automation type library. Their values are binding: clients,
// the registry and the server see these numbers.
#pragma once

#include <cstdint>

namespace dks {

/// How much the run log holds.
enum orrDebugLevel : int32_t { dlNone = 0, dlOne = 1, dlTwo = 2, dlThree = 3, dlFour = 4 };

/// Bit mask of the requests that may be sent.
enum orrAction : int32_t { raDelete = 1, raSave = 2, raMove = 4, raUpdate = 8 };

/// Progress of the reconciliation; rsRunning is added arithmetically while a pass runs.
enum orrState : int32_t { rsDefault = 1, rsUser = 2, rsRunning = 4, rsPaused = 8 };

/// Marks left for the next run by an installer or a settings editor.
enum orrFlags : int32_t { rfNone = 0, rfSettingsChanged = 1, rfInstallation = 999 };

/// Which request and response dump files an exchange writes at debug level 4.
enum orrCreateFile : int32_t {
  cfAll = 1,
  cfDelete = 2,
  cfMove = 3,
  cfUpdate = 4,
  cfSave = 5,
  cfInclude = 6,
  cfIgnore = 1000,
};

/// Kinds of usage event, published for clients.
enum orrEventType : int32_t {
  etOpen = 1,
  etRead = 2,
  etPrint = 3,
  etEmail = 4,
  etDelete = 5,
  etMove = 6,
  etSave = 7,
};

}  // namespace dks
