// The command line of the dks-reconciler executable.
#pragma once

#include <ostream>
#include <string_view>

namespace dks {

/// Prints one error line of the command line: "dks-reconciler: " and `message`.
void printError(std::ostream& err, std::string_view message);

/// Parses the arguments and runs the chosen command; returns the process exit status. `run`
/// (also the default) ends the process itself when it is done.
int runCommandLine(int argc, char** argv);

}  // namespace dks
