// The fixed blocks of the logs: the header that opens the run log and the error log, and the
// block that the run log gives each step or request.
#pragma once

#include <string>
#include <string_view>

namespace dks {

class TextStream;

/// The rule line that opens and closes a header: "'" and 99 "-".
std::string logRuleLine();

/// Writes the block of one step or request to the run log through pblnLog: an empty line, the
/// rule line, `summary`, the rule line. Nothing is written below DebugLevel 1; what pblnLog
/// reports is not looked at. Throws Failure 91 when the application object is not set.
void logStepBlock(std::string_view summary);

/// Writes the eight header lines: rule, "'", 45 spaces and `title`, "'", the company, product,
/// creation stamp and version of the application object, rule. Throws Failure when writing
/// fails or the application object is not set.
void writeLogHeader(TextStream& stream, std::string_view title, std::string_view stamp);

}  // namespace dks
