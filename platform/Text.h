// Text rules shared by the whole program. Texts are UTF-8; letter case follows Unicode's
// simple case mappings; bytes that are not UTF-8 pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace dks {

/// Removes leading and trailing spaces (character 32 only).
std::string trimSpaces(std::string_view text);

std::string lowerCase(std::string_view text);
std::string upperCase(std::string_view text);

/// The first letter of every word upper case, every other letter lower case; words are
/// separated by white space.
std::string properCase(std::string_view text);

/// A form of the text that is equal for texts that differ only in letter case (for keys).
std::string foldCase(std::string_view text);

/// Text equality ignoring letter case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

/// True when the text is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

/// The text with every byte sequence that is not UTF-8 read as a Windows-1252 character and
/// converted; valid UTF-8 is kept as it is.
std::string repairUtf8(std::string_view text);

/// The text without the characters that XML 1.0 does not allow (control characters other than
/// tab, line feed and carriage return; U+FFFE and U+FFFF).
std::string removeXmlInvalidCharacters(std::string_view text);

}  // namespace dks
