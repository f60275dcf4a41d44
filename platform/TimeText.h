// Time text: the one pattern in which the program writes dates and time stamps,
// "dd/mm/yyyy hh:nn:ss" in local time, and the date forms it reads back.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace dks {

/// A local calendar date and time of day, without a zone.
struct CalendarTime {
  int year = 0;
  int month = 0;  ///< 1 to 12
  int day = 0;    ///< 1 to the month's length
  int hour = 0;
  int minute = 0;
  int second = 0;
};

/// `time` as local time in the pattern "dd/mm/yyyy hh:nn:ss" (for example "05/12/2026 10:00:00").
/// Throws Failure 6 "Overflow" for a time that local time cannot represent.
std::string timeText(std::time_t time);

/// `time` in the pattern "dd/mm/yyyy hh:nn:ss".
std::string timeText(const CalendarTime& time);

/// Reads a date and time text, surrounding spaces ignored, in one of these forms:
///   "d/m/yyyy", "d/m/yyyy h:nn", "d/m/yyyy h:nn:ss" (day first; "-" or "." may stand for "/");
///   ISO 8601 "yyyy-mm-dd", optionally followed by "T" or a space, "hh:mm", optional ":ss" and
///   fraction, and an optional zone ("Z", "+hh", "+hh:mm", "+hhmm"); a time with a zone is
///   converted to local time, its fraction dropped.
/// nullopt for any other text and for a day, month or time of day that does not exist.
std::optional<CalendarTime> readTimeText(std::string_view text);

/// The number of calendar minutes from 1 January 1970 00:00 to `time`, seconds dropped; the
/// difference of two such numbers counts the minute boundaries crossed between them.
int64_t minuteNumber(const CalendarTime& time);

}  // namespace dks
