// The header block that opens the run log and the error log.
#pragma once

#include <string>
#include <string_view>

namespace dks {

class TextStream;

/// The rule line that opens and closes a header: "'" and 99 "-".
std::string logRuleLine();

/// Writes the eight header lines: rule, "'", 45 spaces and `title`, "'", the company, product,
/// creation stamp and version of the application object, rule. Throws Failure when writing
/// fails or the application object is not set.
void writeLogHeader(TextStream& stream, std::string_view title, std::string_view stamp);

}  // namespace dks
