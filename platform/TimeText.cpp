#include "platform/TimeText.h"

#include <cstdio>

#include "platform/Failure.h"

namespace dks {

std::string timeText(std::time_t time) {
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) throw Failure::overflow();
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace dks
