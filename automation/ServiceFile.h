// The D-Bus activation file through which the session bus starts `dks-reconciler serve` when
// a client calls the bus name and no server runs.
#pragma once

#include <string>

#include "platform/ProcessFacts.h"

namespace dks::automation {

/// Where the bus looks for the current user's activation file of the server's bus name:
/// <data folder>/dbus-1/services/org.dksreconciler.Server.service. Throws as dataFolder.
std::string serviceFilePath(const EnvironmentLookup& environment);

/// The activation file's text for the executable at `executable`, an absolute path (the bus
/// searches no PATH).
std::string serviceFileText(const std::string& executable);

/// Writes the activation file at `path` for `executable`, creating missing folders (mode
/// 0700). Throws Failure when the file cannot be written.
void writeServiceFile(const std::string& path, const std::string& executable);

/// Removes the activation file at `path`. True when it was there; false when there was none.
/// Throws Failure when it is there and cannot be removed.
bool removeServiceFile(const std::string& path);

}  // namespace dks::automation
