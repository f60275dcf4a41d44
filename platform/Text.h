// Text rules shared by the whole program. Texts are UTF-8; letter case follows Unicode's
// simple case mappings (one character for one character, so "ß" keeps its case); bytes that are
// not UTF-8 pass through every function here unchanged. Pure ASCII text takes a short path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dks {

/// A Boolean as the platform writes it: "True" or "False".
inline const char* booleanText(bool value) {
  return value ? "True" : "False";
}

/// The value of a hexadecimal digit (either letter case); -1 for any other character.
int hexDigitValue(char c);

/// Removes leading and trailing spaces (character 32 only).
std::string trimSpaces(std::string_view text);

std::string lowerCase(std::string_view text);
std::string upperCase(std::string_view text);

/// The first character of every word upper case, every other letter lower case; words are
/// separated by white space ("hello  wORLD" gives "Hello  World"; "-" and ":" join words).
std::string properCase(std::string_view text);

/// A form of the text that is equal for texts that differ only in letter case (for keys). It
/// is lower case, with letters of several lower forms brought to one ("ς" and "σ").
std::string foldCase(std::string_view text);

/// Text equality ignoring letter case: foldCase(a) == foldCase(b).
bool equalsIgnoreCase(std::string_view a, std::string_view b);

/// Hash and equality of texts ignoring letter case, for unordered containers keyed by text
/// views: texts that equalsIgnoreCase finds equal hash alike. ASCII text is hashed in place,
/// without a folded copy.
struct CaseBlindHash {
  size_t operator()(std::string_view text) const;
};
struct CaseBlindEqual {
  bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }
};

/// The length of the well-formed UTF-8 sequence that starts at text[pos], with its code point in
/// `codePoint`; 0 when the bytes there form none (overlong, surrogate, above U+10FFFF, truncated
/// or a stray continuation byte).
size_t decodeUtf8At(std::string_view text, size_t pos, char32_t& codePoint);

/// Appends the UTF-8 bytes of `codePoint`.
void appendUtf8(std::string& out, char32_t codePoint);

/// True when the text is well-formed UTF-8: no overlong forms, no surrogates, nothing above
/// U+10FFFF, no truncated sequences.
bool isValidUtf8(std::string_view text);

/// The text with every byte that does not start a well-formed UTF-8 sequence read as a
/// Windows-1252 character and converted; valid UTF-8 is kept as it is. The five bytes that
/// Windows-1252 leaves undefined become the code points of the same value.
std::string repairUtf8(std::string_view text);

/// The text without the characters that XML 1.0 does not allow: control characters below
/// U+0020 other than tab, line feed and carriage return, and U+FFFE and U+FFFF. Bytes that are
/// not UTF-8 are left in place (repairUtf8 deals with them).
std::string removeXmlInvalidCharacters(std::string_view text);

}  // namespace dks
