#include "framework/controls/local_time.h"

#include <chrono>
#include <ctime>

#include "framework/controls/window_system.h"

namespace {
TLocalTime SystemLocalTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const int ms = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, ms,
          local.tm_wday};
}
}  // namespace

TDateTime Now() {
  const TWindowSystem* system = TWindowSystem::Current();
  const TLocalTime t = system != nullptr ? system->LocalTime() : SystemLocalTime();
  return EncodeDateTime(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second, t.Millisecond);
}
