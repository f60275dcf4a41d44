#include "platform/RegFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Text.h"

namespace dks {
namespace {

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kVersion4Header = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr size_t kExportLineLimit = 80;

// ---- Character encodings -------------------------------------------------------------------

// The code point that starts at text[i], advancing i; a byte that does not start a
// well-formed sequence is one U+FFFD.
char32_t nextCodePoint(std::string_view text, size_t& i) {
  char32_t codePoint = 0;
  size_t length = decodeUtf8At(text, i, codePoint);
  i += length == 0 ? 1 : length;
  return length == 0 ? kReplacementCharacter : codePoint;
}

void appendUtf16Unit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

std::string utf8ToUtf16le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    char32_t c = nextCodePoint(text, i);
    if (c < 0x10000) {
      appendUtf16Unit(out, c);
    } else {
      appendUtf16Unit(out, 0xD800 + ((c - 0x10000) >> 10));
      appendUtf16Unit(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

// UTF-16LE bytes as UTF-8, up to the first NUL when `stopAtNul`; a lone surrogate or an odd
// last byte becomes U+FFFD.
std::string utf16leToUtf8(std::string_view bytes, bool stopAtNul = false) {
  auto unitAt = [&](size_t i) -> char32_t {
    return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unitAt(i);
    if (c == 0 && stopAtNul) return out;
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
        unitAt(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacementCharacter;
    }
    appendUtf8(out, c);
  }
  if (bytes.size() % 2 != 0) appendUtf8(out, kReplacementCharacter);
  return out;
}

// The file's text as UTF-8: UTF-16LE after its byte-order mark, else 8-bit text in which
// bytes that are not UTF-8 are read as Windows-1252.
std::string decodeFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf16ByteOrderMark))
    return utf16leToUtf8(bytes.substr(kUtf16ByteOrderMark.size()));
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  return repairUtf8(bytes);
}

// ---- Small text helpers --------------------------------------------------------------------

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t start = 0;;) {
    size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// ---- Import --------------------------------------------------------------------------------

struct Change {
  enum Kind { kCreateKey, kDeleteKey, kWriteValue, kDeleteValue };
  Kind kind;
  std::string keyPath;
  std::string name;
  Variant value;
};

// Reads the lines of a registry file into the changes it asks for; the first line that it
// refuses ends the reading with "line N: reason".
class RegParser {
 public:
  RegParser(std::string_view text, std::string* err) : lines_(splitLines(text)), err_(err) {}

  bool parse(std::vector<Change>* changes) {
    changes_ = changes;
    lineNumber_ = 1;
    std::string_view header = trim(lines_[0]);
    if (header != kVersion5Header && header != kVersion4Header)
      return fail("not a registry file (the first line is not \"" + std::string(kVersion5Header) +
                  "\" or \"" + std::string(kVersion4Header) + "\")");
    for (next_ = 1; next_ < lines_.size();) {
      lineNumber_ = next_ + 1;
      std::string_view line = trim(lines_[next_++]);
      if (line.empty() || line.starts_with(';')) continue;
      if (!(line.starts_with('[') ? parseKeyLine(line) : parseValueLine(line))) return false;
    }
    return true;
  }

 private:
  bool fail(const std::string& reason) {
    *err_ = "line " + std::to_string(lineNumber_) + ": " + reason;
    return false;
  }

  bool parseKeyLine(std::string_view line) {
    if (!line.ends_with(']')) return fail("key line without closing ']'");
    std::string_view name = trim(line.substr(1, line.size() - 2));
    bool remove = name.starts_with('-');
    if (remove) name.remove_prefix(1);
    std::optional<std::string> path = currentUserKeyPath(name);
    if (!path)
      return fail("only HKEY_CURRENT_USER keys can be imported, not '" +
                  std::string(name.substr(0, name.find('\\'))) + "'");
    if (remove && path->empty()) return fail("the whole hive cannot be deleted");
    changes_->push_back({remove ? Change::kDeleteKey : Change::kCreateKey, *path, {}, {}});
    key_ = remove ? std::nullopt : path;
    keyDeleted_ = remove;
    return true;
  }

  bool parseValueLine(std::string_view line) {
    if (!key_) return fail(keyDeleted_ ? "value under a deleted key" : "value before any key");
    std::string name;
    std::string_view rest = line;
    if (rest.starts_with('@'))
      rest.remove_prefix(1);
    else if (!rest.starts_with('"'))
      return fail("expected [KEY], \"name\"=value or @=value");
    else if (!readQuoted(rest, &name))
      return false;
    rest = trim(rest);
    if (!rest.starts_with('=')) return fail("expected '=' after the value name");
    rest = trim(rest.substr(1));
    if (rest == "-") {
      changes_->push_back({Change::kDeleteValue, *key_, name, {}});
      return true;
    }
    Variant value;
    if (!parseData(rest, &value)) return false;
    changes_->push_back({Change::kWriteValue, *key_, name, std::move(value)});
    return true;
  }

  // Reads the string that opens `rest` (at its quotation mark) into *text and moves `rest`
  // past its closing quotation mark.
  bool readQuoted(std::string_view& rest, std::string* text) {
    for (size_t i = 1; i < rest.size(); ++i) {
      char c = rest[i];
      if (c == '"') {
        rest.remove_prefix(i + 1);
        return true;
      }
      if (c == '\\' && ++i < rest.size()) {
        c = rest[i];
        if (c != '\\' && c != '"') return fail(std::string("unsupported escape '\\") + c + "'");
      }
      *text += c;
    }
    return fail("unterminated string");
  }

  bool parseData(std::string_view data, Variant* value) {
    if (data.starts_with('"')) {
      std::string text;
      if (!readQuoted(data, &text)) return false;
      if (!trim(data).empty()) return fail("unexpected text after the string");
      *value = std::move(text);
      return true;
    }
    size_t colon = data.find(':');
    if (colon == std::string_view::npos) return fail("malformed value '" + std::string(data) + "'");
    std::string kind(trim(data.substr(0, colon)));
    std::string_view payload = trim(data.substr(colon + 1));
    if (equalsIgnoreCase(kind, "dword")) return parseDword(payload, value);
    if (equalsIgnoreCase(kind, "hex(1)")) return parseHexText(continued(payload), value);
    return fail("unsupported value kind '" + kind + "'");
  }

  bool parseDword(std::string_view digits, Variant* value) {
    uint32_t number = 0;
    for (char c : digits) {
      if (hexDigitValue(c) < 0) return fail("malformed dword '" + std::string(digits) + "'");
      number = number * 16 + static_cast<uint32_t>(hexDigitValue(c));
    }
    if (digits.empty() || digits.size() > 8)
      return fail("malformed dword '" + std::string(digits) + "'");
    *value = static_cast<int32_t>(number);
    return true;
  }

  // The hex payload with the lines that a trailing backslash continues it on.
  std::string continued(std::string_view payload) {
    std::string joined(payload);
    while (!joined.empty() && joined.back() == '\\' && next_ < lines_.size()) {
      joined.pop_back();
      joined += trim(lines_[next_++]);
    }
    return joined;
  }

  bool parseHexText(std::string_view payload, Variant* value) {
    std::string bytes;
    while (!payload.empty()) {
      size_t comma = payload.find(',');
      std::string_view byte = trim(payload.substr(0, comma));
      if (byte.size() != 2 || hexDigitValue(byte[0]) < 0 || hexDigitValue(byte[1]) < 0)
        return fail("malformed hex(1) byte '" + std::string(byte) + "'");
      bytes += static_cast<char>(hexDigitValue(byte[0]) * 16 + hexDigitValue(byte[1]));
      payload.remove_prefix(comma == std::string_view::npos ? payload.size() : comma + 1);
    }
    if (bytes.size() % 2 != 0) return fail("hex(1) text with an odd number of bytes");
    *value = utf16leToUtf8(bytes, /*stopAtNul=*/true);
    return true;
  }

  std::vector<std::string_view> lines_;
  std::string* err_;
  std::vector<Change>* changes_ = nullptr;
  size_t next_ = 0;
  size_t lineNumber_ = 1;
  std::optional<std::string> key_;
  bool keyDeleted_ = false;
};

void apply(Hive& hive, const Change& change) {
  switch (change.kind) {
    case Change::kCreateKey:
      hive.createKey(change.keyPath);
      break;
    case Change::kDeleteKey:
      hive.deleteKey(change.keyPath);
      break;
    case Change::kWriteValue:
      hive.writeValue(change.keyPath, change.name, change.value);
      break;
    case Change::kDeleteValue:
      hive.deleteValue(change.keyPath, change.name);
      break;
  }
}

// ---- Export --------------------------------------------------------------------------------

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A text as hex(1): its UTF-16LE bytes with the closing NUL, wrapped as regedit wraps them.
std::string hexText(std::string_view prefix, std::string_view text) {
  std::string bytes = utf8ToUtf16le(text) + std::string(2, '\0');
  std::string out, line = std::string(prefix) + "hex(1):";
  for (size_t i = 0; i < bytes.size(); ++i) {
    char piece[4];
    std::snprintf(piece, sizeof piece, "%02x%s", static_cast<unsigned char>(bytes[i]),
                  i + 1 < bytes.size() ? "," : "");
    if (line.size() + std::strlen(piece) + 1 > kExportLineLimit) {
      out += line + "\\\r\n";
      line = "  ";
    }
    line += piece;
  }
  return out + line;
}

std::string valueLine(const HiveValue& value) {
  std::string prefix = (value.name.empty() ? "@" : quoted(value.name)) + "=";
  if (const auto* number = std::get_if<int32_t>(&value.value)) {
    char dword[16];
    std::snprintf(dword, sizeof dword, "dword:%08x", static_cast<uint32_t>(*number));
    return prefix + dword;
  }
  const std::string& text = std::get<std::string>(value.value);
  if (text.find_first_of("\r\n") != std::string::npos) return hexText(prefix, text);
  return prefix + quoted(text);
}

void exportKey(Hive& hive, const std::string& keyPath, std::string& out) {
  out += "[" + std::string(kRootName) + (keyPath.empty() ? "" : "\\" + keyPath) + "]\r\n";
  for (const HiveValue& value : hive.values(keyPath)) out += valueLine(value) + "\r\n";
  out += "\r\n";
  for (const std::string& name : hive.subKeys(keyPath))
    exportKey(hive, keyPath.empty() ? name : keyPath + "\\" + name, out);
}

// ---- Files ---------------------------------------------------------------------------------

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readFile(const std::string& path, std::string* bytes, std::string* err) {
  File file(std::fopen(path.c_str(), "rb"));
  char buffer[65536];
  size_t count = 0;
  while (file && (count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    bytes->append(buffer, count);
  if (file && !std::ferror(file.get())) return true;
  *err = std::strerror(errno);
  return false;
}

bool writeFile(const std::string& path, std::string_view bytes, std::string* err) {
  File file(std::fopen(path.c_str(), "wb"));
  if (file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
      std::fclose(file.release()) == 0)
    return true;
  *err = std::strerror(errno);
  return false;
}

}  // namespace

std::optional<std::string> currentUserKeyPath(std::string_view fullPath) {
  size_t slash = fullPath.find('\\');
  std::string_view root = fullPath.substr(0, slash);
  if (!equalsIgnoreCase(root, kRootName) && !equalsIgnoreCase(root, "HKCU")) return std::nullopt;
  return slash == std::string_view::npos ? std::string() : std::string(fullPath.substr(slash + 1));
}

bool importRegText(Hive& hive, std::string_view bytes, std::string* err) {
  std::string text = decodeFile(bytes);
  std::vector<Change> changes;
  if (!RegParser(text, err).parse(&changes)) return false;
  hive.transaction([&] {
    for (const Change& change : changes) apply(hive, change);
  });
  return true;
}

bool importRegFile(Hive& hive, const std::string& path, std::string* err) {
  std::string bytes;
  return readFile(path, &bytes, err) && importRegText(hive, bytes, err);
}

std::string exportRegText(Hive& hive, std::string_view keyPath) {
  std::string text = std::string(kVersion5Header) + "\r\n\r\n";
  // One transaction, so that the file shows one state of the hive while others write.
  hive.transaction([&] {
    if (std::optional<std::string> stored = hive.storedPath(keyPath))
      exportKey(hive, *stored, text);
  });
  return std::string(kUtf16ByteOrderMark) + utf8ToUtf16le(repairUtf8(text));
}

bool exportRegFile(Hive& hive, std::string_view keyPath, const std::string& path,
                   std::string* err) {
  return writeFile(path, exportRegText(hive, keyPath), err);
}

}  // namespace dks
