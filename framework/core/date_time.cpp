#include "framework/core/date_time.h"

#include <chrono>
#include <cmath>

#include "framework/core/exceptions.h"

namespace {
using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

sys_days DayOfValue(long long dayNumber) { return kEpoch + days{dayNumber}; }
}  // namespace

bool TryEncodeDate(int y, int m, int d, TDateTime& result) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  const year_month_day ymd{year{y}, month{unsigned(m)}, day{unsigned(d)}};
  if (!ymd.ok()) return false;
  result = TDateTime((sys_days{ymd} - kEpoch).count());
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  result = TDateTime(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / kMSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result = 0;
  if (!TryEncodeDate(year, month, day, result)) throw EConvertError(rs::SDateEncodeError);
  return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime result = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, result)) throw EConvertError(rs::STimeEncodeError);
  return result;
}

// Before the epoch the fraction still counts forward from midnight, so it is subtracted.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const TDateTime date = EncodeDate(year, month, day);
  const TDateTime time = EncodeTime(hour, minute, second, millisecond);
  return date >= 0 ? date + time : date - time;
}

bool TryDecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time) {
  // Checked before any conversion to an integer: NaN or a huge value would be undefined.
  if (!std::isfinite(value) || value <= kMinDateTimeDay - 1.0 || value >= kMaxDateTimeDay + 1.0) return false;
  const double whole = std::trunc(value);
  long long dayNumber = static_cast<long long>(whole);
  long long ms = std::llround(std::fabs(value - whole) * kMSecsPerDay);
  if (ms >= kMSecsPerDay) {  // rounded up to 24:00: midnight of the next calendar day
    ms -= kMSecsPerDay;
    ++dayNumber;
  }
  if (dayNumber > kMaxDateTimeDay) return false;
  const sys_days day = DayOfValue(dayNumber);
  const year_month_day ymd{day};
  date = {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
          int(weekday{day}.c_encoding()) + 1};
  time.Hour = int(ms / 3600000);
  time.Minute = int(ms / 60000 % 60);
  time.Second = int(ms / 1000 % 60);
  time.Millisecond = int(ms % 1000);
  return true;
}

void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time) {
  if (!TryDecodeDateTime(value, date, time)) throw EConvertError(rs::SInvalidDateTimeValue);
}

TDateParts DecodeDate(TDateTime value) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(value, date, time);
  return date;
}

TTimeParts DecodeTime(TDateTime value) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(value, date, time);
  return time;
}
