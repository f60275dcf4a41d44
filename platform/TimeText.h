// Time text: the one pattern in which the program writes dates and time stamps.
#pragma once

#include <ctime>
#include <string>

namespace dks {

/// `time` as local time in the pattern "dd/mm/yyyy hh:nn:ss" (for example "05/12/2026 10:00:00").
/// Throws Failure 6 "Overflow" for a time that local time cannot represent.
std::string timeText(std::time_t time);

}  // namespace dks
