// The process's application object on Linux: facts of this executable and of this process.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Platform.h"

namespace dks {

/// Looks up an environment variable as getenv does: its value, or nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

/// The facts of the executable at `executablePath` for this process. Path, the folder for the
/// program's own files, is `DKSR_HOME` when set and not empty; else the executable's folder
/// when it is writable; else `$XDG_STATE_HOME/dks-reconciler` (by default
/// `$HOME/.local/state/dks-reconciler`). A folder other than the executable's is created with
/// mode 0700 when missing; Path has no trailing separator. PrevInstance is false (the instance
/// lock decides it). Throws Failure when the folder cannot be created.
ProcessApp describeProcess(int32_t startMode, const std::string& executablePath,
                           const EnvironmentLookup& environment);

/// This process's own environment: getenv, as an EnvironmentLookup.
const char* processEnvironment(const char* name);

/// $HOME, or the home folder of the user's account when HOME is not set. Throws Failure 76
/// "Path not found" when there is neither.
std::string homeFolder(const EnvironmentLookup& environment);

/// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
/// $HOME/.local/share; without a trailing separator. Throws as homeFolder.
std::string dataFolder(const EnvironmentLookup& environment);

/// The absolute path of the running executable. Throws Failure when it cannot be read.
std::string runningExecutable();

/// The same for the running executable (/proc/self/exe) and the process's environment.
/// Throws Failure when the executable cannot be found or the folder cannot be created.
ProcessApp describeProcess(int32_t startMode);

}  // namespace dks
