#include "platform/Text.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdint>

namespace dks {
namespace {

// ---- UTF-8 ------------------------------------------------------------------------------------

bool isAscii(unsigned char byte) {
  return byte < 0x80;
}

// ---- Letter case ------------------------------------------------------------------------------

/// The built-in C.UTF-8 locale, which carries Unicode's case tables, or 0 when it cannot be
/// made (case rules then cover ASCII only). Made once and kept for the life of the process; the
/// global locale is never touched.
locale_t unicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  return locale;
}

char32_t asciiLower(char32_t c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}
char32_t asciiUpper(char32_t c) {
  return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

char32_t toLower(char32_t c) {
  if (c < 0x80) return asciiLower(c);
  locale_t locale = unicodeLocale();
  return locale ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale)) : c;
}

char32_t toUpper(char32_t c) {
  if (c < 0x80) return asciiUpper(c);
  locale_t locale = unicodeLocale();
  return locale ? static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale)) : c;
}

/// Lower case of the upper case, so that letters with several lower forms (σ and ς, s and ſ)
/// or several upper forms share one key.
char32_t toFolded(char32_t c) {
  return c < 0x80 ? asciiLower(c) : toLower(toUpper(c));
}

bool isAsciiText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return isAscii(static_cast<unsigned char>(c)); });
}

/// `text`, ASCII throughout, with `map` applied to every byte. Keys and ids are such texts, and
/// some are folded once for every mail item: this is the short way for them.
std::string mapAscii(std::string_view text, char32_t (*map)(char32_t)) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(map(static_cast<unsigned char>(c)));
  return out;
}

bool isWhiteSpace(char32_t c) {
  if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r');
  locale_t locale = unicodeLocale();
  return locale && iswspace_l(static_cast<wint_t>(c), locale);
}

/// Applies `map` to every code point of `text`; bytes that are not UTF-8 are copied as they
/// are. ASCII bytes take the short way.
template <class Map>
std::string mapCodePoints(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    auto byte = static_cast<unsigned char>(text[pos]);
    if (isAscii(byte)) {
      appendUtf8(out, map(byte));
      ++pos;
      continue;
    }
    char32_t codePoint;
    size_t length = decodeUtf8At(text, pos, codePoint);
    if (length == 0) {
      out += text[pos++];
    } else {
      appendUtf8(out, map(codePoint));
      pos += length;
    }
  }
  return out;
}

// ---- Windows-1252 -----------------------------------------------------------------------------

/// Windows-1252 characters of the bytes 0x80 to 0x9F. The five bytes the code page leaves
/// undefined keep their own value, as the Windows conversion does.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t fromWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80];
  return byte;
}

bool isXmlChar(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

std::string trimSpaces(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string lowerCase(std::string_view text) {
  return isAsciiText(text) ? mapAscii(text, asciiLower) : mapCodePoints(text, toLower);
}

std::string upperCase(std::string_view text) {
  return isAsciiText(text) ? mapAscii(text, asciiUpper) : mapCodePoints(text, toUpper);
}

std::string foldCase(std::string_view text) {
  return isAsciiText(text) ? mapAscii(text, asciiLower) : mapCodePoints(text, toFolded);
}

std::string properCase(std::string_view text) {
  bool wordStart = true;
  return mapCodePoints(text, [&wordStart](char32_t c) {
    char32_t mapped = wordStart ? toUpper(c) : toLower(c);
    wordStart = isWhiteSpace(c);
    return mapped;
  });
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t CaseBlindHash::operator()(std::string_view text) const {
  // FNV-1a over the bytes of foldCase(text).
  uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
  if (isAsciiText(text)) {
    for (const char c : text)
      mix(static_cast<unsigned char>(asciiLower(static_cast<unsigned char>(c))));
  } else {
    for (const char c : foldCase(text)) mix(static_cast<unsigned char>(c));
  }
  return static_cast<size_t>(hash);
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  // Compare the common ASCII prefix in place; only the rest, if any, needs the full folding.
  // Folding an ASCII prefix never changes how the remainder decodes, so the split is exact.
  size_t common = std::min(a.size(), b.size());
  size_t pos = 0;
  for (; pos < common; ++pos) {
    auto x = static_cast<unsigned char>(a[pos]);
    auto y = static_cast<unsigned char>(b[pos]);
    if (!isAscii(x) || !isAscii(y)) break;
    if (asciiLower(x) != asciiLower(y)) return false;
  }
  if (pos == a.size() || pos == b.size()) return a.size() == b.size();
  return foldCase(a.substr(pos)) == foldCase(b.substr(pos));
}

bool isValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    if (isAscii(static_cast<unsigned char>(text[pos]))) {
      ++pos;
      continue;
    }
    char32_t codePoint;
    size_t length = decodeUtf8At(text, pos, codePoint);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::string repairUtf8(std::string_view text) {
  if (isValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t pos = 0; pos < text.size();) {
    char32_t codePoint;
    size_t length = decodeUtf8At(text, pos, codePoint);
    if (length == 0) {
      appendUtf8(out, fromWindows1252(static_cast<unsigned char>(text[pos])));
      ++pos;
    } else {
      out.append(text.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

std::string removeXmlInvalidCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    char32_t codePoint;
    size_t length = decodeUtf8At(text, pos, codePoint);
    if (length == 0) {
      out += text[pos++];  // not UTF-8: left for repairUtf8
      continue;
    }
    if (isXmlChar(codePoint)) out.append(text.substr(pos, length));
    pos += length;
  }
  return out;
}

size_t decodeUtf8At(std::string_view text, size_t pos, char32_t& codePoint) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  unsigned char lead = byte(0);
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  char32_t value = lead & (0xFF >> (length + 1));
  for (size_t i = 1; i < length; ++i) {
    if (i > 1 && (byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  codePoint = value;
  return length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace dks
