#include "platform/Text.h"

#include <algorithm>

namespace dks {
namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string trimSpaces(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string lowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), asciiLower);
  return result;
}

std::string upperCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), asciiUpper);
  return result;
}

std::string properCase(std::string_view text) {
  std::string result(text);
  bool wordStart = true;
  for (char& c : result) {
    bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    c = wordStart ? asciiUpper(c) : asciiLower(c);
    wordStart = space;
  }
  return result;
}

std::string foldCase(std::string_view text) { return lowerCase(text); }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return foldCase(a) == foldCase(b);
}

bool isValidUtf8(std::string_view) { return true; }
std::string repairUtf8(std::string_view text) { return std::string(text); }
std::string removeXmlInvalidCharacters(std::string_view text) { return std::string(text); }

}  // namespace dks
