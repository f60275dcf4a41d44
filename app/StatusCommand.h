// `dks-reconciler status`: the progress marks as they stand in the hive, and the error log.
#pragma once

#include <ostream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemUtility.h"

namespace dks {

/// The member names of the orrState bits set in `state`, joined by "+" ("rsDefault+rsRunning");
/// bits that name no member are added as a number; 0 gives "none".
std::string stateMemberNames(int32_t state);

/// The number of record lines in the error log text (the lines after its header).
int countErrorRecords(const std::string& errorLogText);

/// Prints Started, Finished, State (number and member names) and Flags as stored under the
/// application key, then the error log's path and record count. The error log path is the
/// stored "\ErrorLog" setting or the default in `app.Path`. Returns the exit status: 0, or 1
/// when the hive cannot be read.
int showStatus(SystemUtility& utility, const ProcessApp& app, const FileSystem& fileSystem,
               std::ostream& out);

}  // namespace dks
