#include "platform/TimeText.h"

#include <cctype>
#include <cstdio>

#include "platform/Failure.h"

namespace dks {
namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool isValid(const CalendarTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// A small cursor over the text being read.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ == text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  bool take(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }

  /// Reads `min` to `max` digits into `value`.
  bool number(int min, int max, int& value) {
    int count = 0;
    value = 0;
    while (count < max && std::isdigit(static_cast<unsigned char>(peek()))) {
      value = value * 10 + (text_[pos_++] - '0');
      ++count;
    }
    return count >= min;
  }

  void skipDigits() {
    while (std::isdigit(static_cast<unsigned char>(peek()))) ++pos_;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// "h:nn" or "h:nn:ss"; hours of one or two digits.
bool readClock(Reader& in, CalendarTime& t, int minHourDigits) {
  if (!in.number(minHourDigits, 2, t.hour) || !in.take(':') || !in.number(2, 2, t.minute))
    return false;
  if (in.take(':') && !in.number(2, 2, t.second)) return false;
  return true;
}

std::optional<CalendarTime> readDayFirst(std::string_view text) {
  Reader in(text);
  CalendarTime t;
  if (!in.number(1, 2, t.day)) return std::nullopt;
  const char separator = in.peek();
  if (separator != '/' && separator != '-' && separator != '.') return std::nullopt;
  in.take(separator);
  if (!in.number(1, 2, t.month) || !in.take(separator) || !in.number(4, 4, t.year))
    return std::nullopt;
  if (!in.atEnd() && (!in.take(' ') || !readClock(in, t, 1))) return std::nullopt;
  if (!in.atEnd() || !isValid(t)) return std::nullopt;
  return t;
}

// The zone part of an ISO text as minutes east of UTC.
bool readZone(Reader& in, int& offsetMinutes) {
  if (in.take('Z')) {
    offsetMinutes = 0;
    return true;
  }
  const int sign = in.take('+') ? 1 : in.take('-') ? -1 : 0;
  if (sign == 0) return false;
  int hours = 0;
  int minutes = 0;
  if (!in.number(2, 2, hours)) return false;
  if (!in.atEnd() && (in.take(':'), !in.number(2, 2, minutes))) return false;
  if (hours > 14 || minutes > 59) return false;
  offsetMinutes = sign * (hours * 60 + minutes);
  return true;
}

std::optional<CalendarTime> toLocal(const CalendarTime& utcFields, int offsetMinutes) {
  const int64_t seconds = (daysFromCivil(utcFields.year, utcFields.month, utcFields.day) * 86400) +
                          utcFields.hour * 3600 + utcFields.minute * 60 + utcFields.second -
                          int64_t{offsetMinutes} * 60;
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  CalendarTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour,        local.tm_min,     local.tm_sec};
  if (!isValid(t)) return std::nullopt;
  return t;
}

std::optional<CalendarTime> readIso(std::string_view text) {
  Reader in(text);
  CalendarTime t;
  if (!in.number(4, 4, t.year) || !in.take('-') || !in.number(2, 2, t.month) || !in.take('-') ||
      !in.number(2, 2, t.day))
    return std::nullopt;
  if (in.atEnd()) return isValid(t) ? std::optional(t) : std::nullopt;
  if (!in.take('T') && !in.take(' ')) return std::nullopt;
  if (!readClock(in, t, 2)) return std::nullopt;
  if (in.take('.') || in.take(',')) in.skipDigits();
  if (!isValid(t)) return std::nullopt;
  if (in.atEnd()) return t;
  int offsetMinutes = 0;
  if (!readZone(in, offsetMinutes) || !in.atEnd()) return std::nullopt;
  return toLocal(t, offsetMinutes);
}

}  // namespace

std::string timeText(std::time_t time) {
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr || local.tm_year + 1900 > 9999 ||
      local.tm_year + 1900 < 0)
    throw Failure::overflow();
  return timeText(CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min, local.tm_sec});
}

std::string timeText(const CalendarTime& t) {
  // Every date of every mail item passes here, twice: the usual case is written digit by digit.
  const bool fits = t.year >= 0 && t.year <= 9999 && t.month >= 0 && t.month <= 99 && t.day >= 0 &&
                    t.day <= 99 && t.hour >= 0 && t.hour <= 99 && t.minute >= 0 && t.minute <= 99 &&
                    t.second >= 0 && t.second <= 99;
  if (!fits) {
    char text[80];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year,
                  t.hour, t.minute, t.second);
    return text;
  }
  std::string text = "00/00/0000 00:00:00";
  auto put = [&text](size_t end, int value) {
    for (size_t at = end; value > 0; value /= 10) text[--at] = static_cast<char>('0' + value % 10);
  };
  put(2, t.day);
  put(5, t.month);
  put(10, t.year);
  put(13, t.hour);
  put(16, t.minute);
  put(19, t.second);
  return text;
}

std::optional<CalendarTime> readTimeText(std::string_view text) {
  text = trimmed(text);
  if (text.size() >= 5 && text[4] == '-') return readIso(text);
  return readDayFirst(text);
}

int64_t minuteNumber(const CalendarTime& t) {
  return daysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
}

}  // namespace dks
