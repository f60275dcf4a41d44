#include "platform/maildir/HeaderBlock.h"

#include <gmime/gmime.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/TimeText.h"
#include "platform/maildir/MaildirNames.h"

namespace dks {
namespace {

// Most header blocks fit the first read; a long one is read on in larger steps.
constexpr size_t kFirstRead = 8 * 1024;
constexpr size_t kLaterRead = 64 * 1024;

// The headers the store reads, in the order of kFieldNames.
enum Field {
  kSubject,
  kDate,
  kSensitivity,
  kThreadTopic,
  kThreadIndex,
  kMessageId,
  kInReplyTo,
  kReferences,
  kFieldCount
};
constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "Subject",      "Date",       "Sensitivity", "Thread-Topic",
    "Thread-Index", "Message-ID", "In-Reply-To", "References"};

// GMime is set up once for the life of the process. Decoding uses these options: 8-bit text is
// tried as UTF-8, then read as Windows-1252 (which takes every byte, so nothing is lost).
GMimeParserOptions* decodeOptions() {
  static GMimeParserOptions* const options = [] {
    g_mime_init();
    GMimeParserOptions* made = g_mime_parser_options_new();
    static const char* charsets[] = {"UTF-8", "windows-1252", nullptr};
    g_mime_parser_options_set_fallback_charsets(made, charsets);
    return made;
  }();
  return options;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// A field name: printable ASCII without ":" (RFC 5322, 2.2).
bool isFieldName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(),
                                      [](char c) { return c > ' ' && c < 0x7F && c != ':'; });
}

// Where the header block in `bytes` ends (the length up to and with the line break of its last
// line), or nullopt when `bytes` hold no empty line yet. The search resumes at `from`, which
// is moved on past what has been decided.
std::optional<size_t> findBlockEnd(std::string_view bytes, size_t& from) {
  auto emptyLineAt = [&](size_t pos) -> std::optional<bool> {
    if (pos >= bytes.size()) return std::nullopt;
    if (bytes[pos] == '\n') return true;
    if (bytes[pos] != '\r') return false;
    if (pos + 1 >= bytes.size()) return std::nullopt;
    return bytes[pos + 1] == '\n';
  };
  if (from == 0) {
    std::optional<bool> empty = emptyLineAt(0);
    if (!empty) return std::nullopt;
    if (*empty) return 0;
  }
  for (size_t i = bytes.find('\n', from); i != std::string_view::npos;
       i = bytes.find('\n', i + 1)) {
    std::optional<bool> empty = emptyLineAt(i + 1);
    if (!empty) {
      from = i;
      return std::nullopt;
    }
    if (*empty) return i + 1;
  }
  from = bytes.size();
  return std::nullopt;
}

// Plain ASCII without an encoded word is its own decoding: GMime gives such text back as it is.
bool isPlainAscii(std::string_view text) {
  if (text.find("=?") != std::string_view::npos) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; });
}

std::string decodeText(const std::string& value) {
  if (isPlainAscii(value)) return value;
  char* decoded = g_mime_utils_header_decode_text(decodeOptions(), value.c_str());
  std::string text = repairUtf8(decoded ? decoded : "");
  g_free(decoded);
  return text;
}

// Reads `digits` decimal digits at `at` and moves it past them; nullopt, with `at` where it
// was, when they are not all digits.
std::optional<int> digitsAt(std::string_view text, size_t& at, size_t digits) {
  if (at > text.size() || text.size() - at < digits) return std::nullopt;
  int value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  at += digits;
  return value;
}

bool isDayOfMonth(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day >= 1 && day <= (month == 2 && leap ? 29 : kDays[month - 1]);
}

bool takeChar(std::string_view text, size_t& at, char c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

// The zone that ends a usual Date, from `at` to the end of `text`: "+HHMM" or "-HHMM" of at
// most 14 hours and 59 minutes, or "GMT"; a numeric zone may be followed by a comment that names
// it, " (CET)". Its offset east of UTC in seconds; nullopt for anything else.
std::optional<int> readUsualZone(std::string_view text, size_t at) {
  if (text.substr(at) == "GMT") return 0;
  const int sign = takeChar(text, at, '+') ? 1 : takeChar(text, at, '-') ? -1 : 0;
  const std::optional<int> hours = digitsAt(text, at, 2);
  const std::optional<int> minutes = hours ? digitsAt(text, at, 2) : std::nullopt;
  if (sign == 0 || !minutes || *hours > 14 || *minutes > 59) return std::nullopt;
  const std::string_view comment = text.substr(at);
  if (!comment.empty() && (comment.size() < 3 || comment.substr(0, 2) != " (" ||
                           comment.find_first_of("()", 2) != comment.size() - 1))
    return std::nullopt;
  return sign * (*hours * 3600 + *minutes * 60);
}

// The usual form of a Date header, "Www, D Mon YYYY HH:MM:SS ZONE" (the day name may be missing,
// the day may have one digit; the zone as readUsualZone reads it), read directly: nearly every
// message has it, and GMime reads it at many times the cost. nullopt for any other text, which
// GMime then reads. Only the values that GMime reads the same way are taken: a four-digit year
// from 1970, an existing day and time of day.
std::optional<std::time_t> readUsualDate(std::string_view text) {
  static constexpr std::string_view kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  size_t at = 0;
  if (text.size() > 5 && text.substr(3, 2) == ", " &&
      std::find(std::begin(kDays), std::end(kDays), text.substr(0, 3)) != std::end(kDays))
    at = 5;
  std::optional<int> day = digitsAt(text, at, 2);
  if (!day) day = digitsAt(text, at, 1);
  if (!day || !takeChar(text, at, ' ') || text.size() < at + 4) return std::nullopt;
  const auto month = std::find(std::begin(kMonths), std::end(kMonths), text.substr(at, 3));
  if (month == std::end(kMonths)) return std::nullopt;
  at += 3;
  std::optional<int> year, hour, minute, second, zone;
  if (!takeChar(text, at, ' ') || !(year = digitsAt(text, at, 4)) || !takeChar(text, at, ' ') ||
      !(hour = digitsAt(text, at, 2)) || !takeChar(text, at, ':') ||
      !(minute = digitsAt(text, at, 2)) || !takeChar(text, at, ':') ||
      !(second = digitsAt(text, at, 2)) || !takeChar(text, at, ' ') ||
      !(zone = readUsualZone(text, at)))
    return std::nullopt;
  const CalendarTime time{
      *year, static_cast<int>(month - std::begin(kMonths)) + 1, *day, *hour, *minute, *second};
  if (time.year < 1970 || time.hour > 23 || time.minute > 59 || time.second > 59 ||
      !isDayOfMonth(time.year, time.month, time.day))
    return std::nullopt;
  return static_cast<std::time_t>(minuteNumber(time) * 60 + time.second - *zone);
}

std::optional<std::time_t> decodeDate(const std::string& value) {
  if (std::optional<std::time_t> usual = readUsualDate(value)) return usual;
  decodeOptions();  // sets GMime up on first use
  GDateTime* date = g_mime_utils_header_decode_date(value.c_str());
  if (date == nullptr) return std::nullopt;
  std::time_t time = g_date_time_to_unix(date);
  g_date_time_unref(date);
  return time;
}

std::string hexOfBase64(const std::string& value) {
  gsize length = 0;
  guchar* bytes = g_base64_decode(value.c_str(), &length);
  std::string hex = hexOf(std::string_view(reinterpret_cast<const char*>(bytes), length));
  g_free(bytes);
  return hex;
}

int32_t sensitivityOf(std::string_view value) {
  if (equalsIgnoreCase(value, "Personal")) return 1;
  if (equalsIgnoreCase(value, "Private")) return 2;
  if (equalsIgnoreCase(value, "Company-Confidential")) return 3;
  return 0;
}

// The first message id of an id list: the first "<...>", else the first word.
std::string_view firstMessageId(std::string_view value) {
  size_t open = value.find('<');
  size_t close = open == std::string_view::npos ? open : value.find('>', open);
  if (close != std::string_view::npos) return value.substr(open, close - open + 1);
  return value.substr(0, value.find_first_of(" \t"));
}

// One read of at most `want` bytes into `into`, repeated when a signal interrupts it; the
// bytes read, 0 at the end of the file. Throws Failure when reading fails.
size_t readSome(int fd, char* into, size_t want) {
  for (;;) {
    const ssize_t got = ::read(fd, into, want);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) throw Failure::fromErrno(errno);
  }
}

}  // namespace

std::string readHeaderBlock(int fd) {
  // Most blocks end within the first read, which goes to the stack: a message then costs one
  // allocation of its block's size, not of the read's.
  char first[kFirstRead];
  size_t got = readSome(fd, first, std::min(kFirstRead, kHeaderBlockLimit));
  size_t searched = 0;
  const std::string_view start(first, got);
  if (std::optional<size_t> end = findBlockEnd(start, searched)) return std::string(first, *end);
  std::string block(start);
  while (got > 0 && block.size() < kHeaderBlockLimit) {
    const size_t had = block.size();
    block.resize(had + std::min(kLaterRead, kHeaderBlockLimit - had));
    got = readSome(fd, block.data() + had, block.size() - had);
    block.resize(had + got);
    if (std::optional<size_t> end = findBlockEnd(block, searched)) {
      block.resize(*end);
      break;
    }
  }
  return block;
}

MessageHeaders parseHeaderBlock(std::string_view block) {
  std::array<std::optional<std::string>, kFieldCount> values;
  std::optional<std::string>* current = nullptr;  // the field a folded line continues
  for (size_t start = 0; start < block.size();) {
    size_t end = block.find('\n', start);
    if (end == std::string_view::npos) end = block.size();
    std::string_view line = block.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && isBlank(line.front())) {
      if (current != nullptr) current->value().append(line);
      continue;
    }
    current = nullptr;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    if (!isFieldName(name)) continue;
    for (size_t field = 0; field < kFieldCount; ++field) {
      // A field name is ASCII: names of another length never match.
      if (name.size() != kFieldNames[field].size() || !equalsIgnoreCase(name, kFieldNames[field]))
        continue;
      if (!values[field]) {
        values[field].emplace(line.substr(colon + 1));
        current = &values[field];
      }
      break;
    }
  }

  auto value = [&](Field field) -> std::string {
    return values[field] ? std::string(trimBlanks(*values[field])) : std::string();
  };
  MessageHeaders headers;
  if (values[kSubject]) headers.subject = decodeText(value(kSubject));
  if (values[kDate]) headers.date = decodeDate(value(kDate));
  headers.sensitivity = sensitivityOf(value(kSensitivity));
  if (values[kThreadTopic]) headers.threadTopic = decodeText(value(kThreadTopic));
  if (values[kThreadIndex]) headers.threadIndex = hexOfBase64(value(kThreadIndex));
  for (Field field : {kReferences, kInReplyTo, kMessageId}) {
    headers.threadRoot = firstMessageId(value(field));
    if (!headers.threadRoot.empty()) break;
  }
  return headers;
}

}  // namespace dks
