#pragma once
// Date and time values: whole days since 30 December 1899, the time of day as the
// fraction (0.25 is 06:00). Form descriptions store them this way. Before the epoch the
// day count is negative and the fraction still counts forward from midnight, so -1.25 is
// 29 December 1899, 06:00.
#include <array>
#include <string>
#include <string_view>

using TDateTime = double;

// The first and last days a value may name: 1 January 0001 and 31 December 9999.
inline constexpr int kMinDateTimeDay = -693593;
inline constexpr int kMaxDateTimeDay = 2958465;
inline constexpr int kMSecsPerDay = 24 * 60 * 60 * 1000;

struct TDateParts {
  int Year = 0, Month = 0, Day = 0;
  int DayOfWeek = 0;  // 1 = Sunday .. 7 = Saturday
};
struct TTimeParts {
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Encoding fails with EConvertError for a date that does not exist (or lies outside
// years 1..9999) and for a time outside 00:00:00.000..23:59:59.999; the Try forms answer
// false instead.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// Decoding rounds to the millisecond; a time that rounds up to 24:00 is midnight of the
// next day. A value that is not a number or names no day of years 1..9999 fails with
// EConvertError, and the Try form answers false.
bool TryDecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time);
void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time);
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);

// How dates and times are written: the user's formats in the format language of
// FormatDateTime, separators and names. Texts are 8-bit, like all text of the system.
struct TFormatSettings {
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongTimeFormat = "hh:nn:ss";
  char DateSeparator = '-';
  char TimeSeparator = ':';
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The time formats of a named locale (its LC_TIME category, through the C library), for
// example "de_DE.UTF-8"; "" is the user's own locale from the environment. What the
// locale leaves empty keeps the fixed default of TFormatSettings (ISO-style 2024-01-31
// and 13:05:09). Answers false, with every field at the default, when the locale does
// not exist on this machine.
bool LocaleFormatSettings(const std::string& localeName, TFormatSettings& settings);
// The user's formats, read from the environment once; Reload reads them again (after
// the user's regional settings changed).
const TFormatSettings& UserFormatSettings();
void ReloadUserFormatSettings();

// Formats `value` by `format` (the user's formats when no settings are given):
//   d dd ddd dddd     day; with leading zero; short and long day name
//   m mm mmm mmmm     month; with leading zero; short and long month name
//                     (m or mm right after an hour means minutes)
//   yy yyyy           two- and four-digit year
//   h hh n nn s ss    hour, minute, second; the two-letter forms with a leading zero
//   z zzz             millisecond; three digits
//   am/pm a/p ampm    12-hour clock for every hour of the format, with am/pm (in the
//                     case written), a/p, or the settings' AM and PM strings
//   / :               the date and time separators of the settings
//   c                 the short date, then a blank and the long time unless the time
//                     of day is 00:00:00
//   "..." '...'       copied as written
// Letters are read without regard to case. Any other character, an unknown letter
// included, is copied; an unterminated quote runs to the end. An empty format means "c".
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
// The default form ("c") in the user's formats.
std::string DateTimeToStr(TDateTime value);
