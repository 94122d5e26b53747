// The format language of FormatDateTime (see the header for the letters).
#include <cctype>
#include <cstdio>

#include "framework/core/date_time.h"

namespace {

char Lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Lower(s[at + i]) != word[i]) return false;
  return true;
}

// The am/pm forms, longest first so that "ampm" is not read as "a" plus text.
enum class TAmPmForm { None, AmSlashPm, ASlashP, Named };
struct TAmPmMatch {
  TAmPmForm Form = TAmPmForm::None;
  size_t Length = 0;
};
TAmPmMatch MatchAmPm(std::string_view f, size_t at) {
  if (StartsWithNoCase(f, at, "am/pm")) return {TAmPmForm::AmSlashPm, 5};
  if (StartsWithNoCase(f, at, "ampm")) return {TAmPmForm::Named, 4};
  if (StartsWithNoCase(f, at, "a/p")) return {TAmPmForm::ASlashP, 3};
  return {};
}

size_t QuotedEnd(std::string_view f, size_t open) {
  const size_t close = f.find(f[open], open + 1);
  return close == std::string_view::npos ? f.size() : close;
}

// Hours of a format are on the 12-hour clock when it has an am/pm form outside quotes.
bool UsesTwelveHourClock(std::string_view f) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '"' || f[i] == '\'') i = QuotedEnd(f, i);
    else if (MatchAmPm(f, i).Form != TAmPmForm::None) return true;
  }
  return false;
}

class TDateTimeWriter {
 public:
  TDateTimeWriter(const TDateParts& date, const TTimeParts& time, const TFormatSettings& settings)
      : FDate(date), FTime(time), FSettings(settings) {}

  // `nested` is set inside the expansion of "c": the settings' own formats may not
  // expand "c" again, so a format naming itself cannot recurse.
  void Write(std::string_view f, bool nested) {
    const bool twelveHour = UsesTwelveHourClock(f);
    bool afterHour = false;  // m and mm right after an hour are minutes
    size_t i = 0;
    while (i < f.size()) {
      const char c = Lower(f[i]);
      const size_t count = RunLength(f, i);
      if (f[i] == '"' || f[i] == '\'') {
        const size_t close = QuotedEnd(f, i);
        FOut.append(f.substr(i + 1, close - i - 1));
        i = close + 1;
        continue;
      }
      bool wasHour = false;
      size_t used = count;
      switch (c) {
        case 'd': WriteDay(count); break;
        case 'm':
          if (afterHour && count <= 2) Number(FTime.Minute, Digits(count));
          else WriteMonth(count);
          break;
        case 'y': Number(count <= 2 ? FDate.Year % 100 : FDate.Year, count <= 2 ? 2 : 4); break;
        case 'h':
          Number(twelveHour ? TwelveHour(FTime.Hour) : FTime.Hour, Digits(count));
          wasHour = true;
          break;
        case 'n': Number(FTime.Minute, Digits(count)); break;
        case 's': Number(FTime.Second, Digits(count)); break;
        case 'z': Number(FTime.Millisecond, count >= 3 ? 3 : 1); break;
        case 'a': used = WriteAmPm(f, i); break;
        case 'c':
          used = 1;
          if (nested) FOut += f[i];
          else WriteDefaultForm();
          break;
        case '/': used = 1; FOut += FSettings.DateSeparator; wasHour = afterHour; break;
        case ':': used = 1; FOut += FSettings.TimeSeparator; wasHour = afterHour; break;
        default:  // unknown letters and every other character are copied
          used = 1;
          FOut += f[i];
          wasHour = afterHour;
          break;
      }
      afterHour = wasHour;
      i += used;
    }
  }

  void WriteDefaultForm() {
    Write(FSettings.ShortDateFormat, true);
    if (FTime.Hour != 0 || FTime.Minute != 0 || FTime.Second != 0) {
      FOut += ' ';
      Write(FSettings.LongTimeFormat, true);
    }
  }

  std::string Take() { return std::move(FOut); }

 private:
  static size_t RunLength(std::string_view f, size_t at) {
    size_t n = 1;
    while (at + n < f.size() && Lower(f[at + n]) == Lower(f[at])) ++n;
    return n;
  }
  static int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

  // A letter written twice or more gives two digits.
  static int Digits(size_t count) { return count >= 2 ? 2 : 1; }
  void Number(int value, int minDigits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", minDigits, value);
    FOut += text;
  }
  void WriteDay(size_t count) {
    if (count <= 2) Number(FDate.Day, Digits(count));
    else if (count == 3) FOut += FSettings.ShortDayNames[size_t(FDate.DayOfWeek - 1)];
    else FOut += FSettings.LongDayNames[size_t(FDate.DayOfWeek - 1)];
  }
  void WriteMonth(size_t count) {
    if (count <= 2) Number(FDate.Month, Digits(count));
    else if (count == 3) FOut += FSettings.ShortMonthNames[size_t(FDate.Month - 1)];
    else FOut += FSettings.LongMonthNames[size_t(FDate.Month - 1)];
  }
  // The am/pm forms copy the case they are written in; a lone "a" is an unknown letter.
  size_t WriteAmPm(std::string_view f, size_t at) {
    const TAmPmMatch match = MatchAmPm(f, at);
    const bool pm = FTime.Hour >= 12;
    switch (match.Form) {
      case TAmPmForm::AmSlashPm: FOut.append(f.substr(pm ? at + 3 : at, 2)); break;
      case TAmPmForm::ASlashP: FOut += f[pm ? at + 2 : at]; break;
      case TAmPmForm::Named: FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString; break;
      case TAmPmForm::None: FOut += f[at]; return 1;
    }
    return match.Length;
  }

  const TDateParts& FDate;
  const TTimeParts& FTime;
  const TFormatSettings& FSettings;
  std::string FOut;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(value, date, time);
  TDateTimeWriter writer(date, time, settings);
  if (format.empty()) writer.WriteDefaultForm();
  else writer.Write(format, false);
  return writer.Take();
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTime(format, value, UserFormatSettings());
}

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }
