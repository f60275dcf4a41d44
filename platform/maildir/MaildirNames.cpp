#include "platform/maildir/MaildirNames.h"

#include <cstdint>

#include "platform/Text.h"

namespace dks {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The value of a modified base64 digit ("," stands for base64's "/"); -1 for any other byte.
int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == ',') return 63;
  return -1;
}

// Decodes one run of modified base64 (the text between "&" and "-") as UTF-16 into `out`.
bool decodeRun(std::string_view run, std::string& out) {
  uint32_t bits = 0;
  int bitCount = 0;
  char32_t highSurrogate = 0;
  for (char c : run) {
    int value = base64Value(c);
    if (value < 0) return false;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    bitCount += 6;
    if (bitCount < 16) continue;
    bitCount -= 16;
    char32_t unit = (bits >> bitCount) & 0xFFFF;
    bits &= (1u << bitCount) - 1;
    if (highSurrogate != 0) {
      if (unit < 0xDC00 || unit > 0xDFFF) return false;
      appendUtf8(out, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate = 0;
    } else if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    } else {
      appendUtf8(out, unit);
    }
  }
  // What is left over pads the last unit: fewer than six bits, all zero.
  return highSurrogate == 0 && bitCount < 6 && bits == 0;
}

std::optional<std::string> decodeModifiedUtf7(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t pos = 0; pos < name.size();) {
    char c = name[pos];
    if (c < 0x20 || c > 0x7E) return std::nullopt;
    if (c != '&') {
      out += c;
      ++pos;
      continue;
    }
    size_t end = name.find('-', pos + 1);
    if (end == std::string_view::npos) return std::nullopt;
    if (end == pos + 1) {
      out += '&';
    } else if (!decodeRun(name.substr(pos + 1, end - pos - 1), out)) {
      return std::nullopt;
    }
    pos = end + 1;
  }
  return out;
}

}  // namespace

std::string_view uniqueName(std::string_view fileName) {
  // A plain scan: find_first_of searches its set once for every character of the name, and the
  // unique name is taken several times for every mail item.
  size_t end = 0;
  while (end < fileName.size() && fileName[end] != ',' && fileName[end] != ':') ++end;
  return fileName.substr(0, end);
}

std::string_view flagsOf(std::string_view fileName) {
  size_t info = fileName.find(":2,");
  return info == std::string_view::npos ? std::string_view() : fileName.substr(info + 3);
}

std::optional<std::time_t> deliveryTime(std::string_view uniqueName) {
  size_t digits = 0;
  while (digits < uniqueName.size() && isDigit(uniqueName[digits])) ++digits;
  if (digits == 0 || digits > 11) return std::nullopt;
  if (digits < uniqueName.size() && uniqueName[digits] != '.' && uniqueName[digits] != '_')
    return std::nullopt;
  std::time_t time = 0;
  for (size_t i = 0; i < digits; ++i) time = time * 10 + (uniqueName[i] - '0');
  return time;
}

std::string hexOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  // Written in place: every mail item's entry id is made here, twice a walk.
  std::string hex(bytes.size() * 2, '0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    hex[2 * i] = kDigits[byte >> 4];
    hex[2 * i + 1] = kDigits[byte & 0x0F];
  }
  return hex;
}

std::optional<std::string> bytesOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = hexDigitValue(hex[i]);
    int low = hexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string decodeFolderName(std::string_view name) {
  if (auto decoded = decodeModifiedUtf7(name)) return *decoded;
  return repairUtf8(name);
}

}  // namespace dks
