// The command line of the dks-reconciler executable.
#pragma once

namespace dks {

/// Parses the arguments and runs the chosen command; returns the process exit status. `run`
/// (also the default) ends the process itself when it is done.
int runCommandLine(int argc, char** argv);

}  // namespace dks
