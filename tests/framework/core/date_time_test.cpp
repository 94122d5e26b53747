#include "framework/core/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "framework/core/exceptions.h"

namespace {
// Tuesday 5 March 2024, 14:07:09.045.
TDateTime Afternoon() { return EncodeDateTime(2024, 3, 5, 14, 7, 9, 45); }

std::string Fmt(std::string_view format, TDateTime value) { return FormatDateTime(format, value, TFormatSettings{}); }
}  // namespace

TEST(DateTime, EveryDayAndTimeFrom1900To2100RoundTrips) {
  TDateTime previous = EncodeDate(1899, 12, 31);
  int dayIndex = 0;
  for (int y = 1900; y <= 2100; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= 31; ++d) {
        TDateTime date = 0;
        if (!TryEncodeDate(y, m, d, date)) continue;
        ASSERT_EQ(date, previous + 1) << y << "-" << m << "-" << d << " does not follow the day before";
        previous = date;
        // A different time of day every day, sweeping every hour, minute, second and millisecond.
        const int ms = (dayIndex * 7919 + 86399999 * (dayIndex % 2)) % kMSecsPerDay;
        ++dayIndex;
        const TTimeParts t{ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
        const TDateTime value = EncodeDateTime(y, m, d, t.Hour, t.Minute, t.Second, t.Millisecond);
        TDateParts gotDate;
        TTimeParts gotTime;
        DecodeDateTime(value, gotDate, gotTime);
        ASSERT_EQ(gotDate.Year * 10000 + gotDate.Month * 100 + gotDate.Day, y * 10000 + m * 100 + d);
        ASSERT_EQ(gotTime.Hour * 3600000 + gotTime.Minute * 60000 + gotTime.Second * 1000 + gotTime.Millisecond, ms)
            << y << "-" << m << "-" << d;
      }
    }
  }
  EXPECT_EQ(dayIndex, 73414) << "days of 1900..2100";
}

TEST(DateTime, KnownDaysWeekdaysAndFractions) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2024, 1, 1), 45292);
  EXPECT_EQ(EncodeDate(1, 1, 1), kMinDateTimeDay);
  EXPECT_EQ(EncodeDate(9999, 12, 31), kMaxDateTimeDay);
  EXPECT_EQ(DecodeDate(45292).DayOfWeek, 2) << "1 January 2024 was a Monday";
  EXPECT_EQ(DecodeDate(0).DayOfWeek, 7) << "30 December 1899 was a Saturday";
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
}

TEST(DateTime, BeforeTheEpochTheFractionStillCountsFromMidnight) {
  const TDateTime v = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_EQ(v, -1.25);
  const TDateParts d = DecodeDate(v);
  EXPECT_EQ(d.Year * 10000 + d.Month * 100 + d.Day, 18991229);
  EXPECT_EQ(DecodeTime(v).Hour, 6);
  EXPECT_EQ(Fmt("yyyy-mm-dd hh:nn", EncodeDateTime(1850, 7, 4, 18, 30, 0, 0)), "1850-07-04 18:30");
}

TEST(DateTime, DatesAndTimesThatDoNotExistAreRefused) {
  TDateTime v = 0;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, v));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, v));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, v)) << "1900 was no leap year";
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, v));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, v));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, v));
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31, v));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
  EXPECT_FALSE(TryEncodeTime(12, 60, 0, 0, v));
  EXPECT_FALSE(TryEncodeTime(12, 0, -1, 0, v));
  EXPECT_FALSE(TryEncodeTime(12, 0, 0, 1000, v));
  try {
    EncodeDate(2023, 2, 29);
    FAIL() << "29 February 2023 was encoded";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL() << "24:00 was encoded";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to time encode");
  }
}

TEST(DateTime, ATimeRoundingUpToMidnightIsTheNextDayNotHour24) {
  TDateParts d;
  TTimeParts t;
  DecodeDateTime(EncodeDate(2024, 12, 31) + 0.9999999999, d, t);
  EXPECT_EQ(d.Year * 10000 + d.Month * 100 + d.Day, 20250101);
  EXPECT_EQ(t.Hour + t.Minute + t.Second + t.Millisecond, 0);
  DecodeDateTime(-1.9999999999, d, t);  // just before midnight ending 29 December 1899
  EXPECT_EQ(d.Month * 100 + d.Day, 1230);
  EXPECT_EQ(t.Hour, 0);
}

TEST(DateTime, ValuesNamingNoDayAreRefusedNotConverted) {
  TDateParts d;
  TTimeParts t;
  for (const double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300, kMaxDateTimeDay + 1.0,
                           kMinDateTimeDay - 1.0, kMaxDateTimeDay + 0.99999999999}) {
    EXPECT_FALSE(TryDecodeDateTime(bad, d, t)) << bad;
  }
  EXPECT_TRUE(TryDecodeDateTime(kMaxDateTimeDay + 0.5, d, t));
  EXPECT_TRUE(TryDecodeDateTime(kMinDateTimeDay - 0.5, d, t));
  EXPECT_EQ(d.Year * 10000 + d.Month * 100 + d.Day, 10101);
  try {
    Fmt("c", std::numeric_limits<double>::quiet_NaN());
    FAIL() << "NaN was formatted";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid date-time value");
  }
}

TEST(FormatDateTime, DayMonthAndYearLetters) {
  const TDateTime v = Afternoon();
  EXPECT_EQ(Fmt("d dd ddd dddd", v), "5 05 Tue Tuesday");
  EXPECT_EQ(Fmt("m mm mmm mmmm", v), "3 03 Mar March");
  EXPECT_EQ(Fmt("yy yyyy", v), "24 2024");
  EXPECT_EQ(Fmt("y yyy", EncodeDate(2009, 1, 1)), "09 2009");
  EXPECT_EQ(Fmt("yyyy", EncodeDate(987, 1, 1)), "0987");
  EXPECT_EQ(Fmt("DD.MM.YYYY", v), "05.03.2024") << "letters ignore case";
  EXPECT_EQ(Fmt("ddddd", v), "Tuesday") << "five letters read as the long name";
}

TEST(FormatDateTime, TimeLettersAndMinutesAfterAnHour) {
  const TDateTime v = Afternoon();
  EXPECT_EQ(Fmt("h hh n nn s ss z zzz", v), "14 14 7 07 9 09 45 045");
  EXPECT_EQ(Fmt("hh:mm", v), "14:07") << "m right after an hour is the minute";
  EXPECT_EQ(Fmt("h\" h \"m", v), "14 h 7") << "quoted text between keeps the minute reading";
  EXPECT_EQ(Fmt("hh mmm", v), "14 Mar") << "three m are always the month name";
  EXPECT_EQ(Fmt("hh:nn mm", v), "14:07 03") << "after another letter, m is the month again";
  EXPECT_EQ(Fmt("h:n:s", EncodeTime(1, 2, 3, 4)), "1:2:3");
}

TEST(FormatDateTime, TwelveHourClockForms) {
  const TDateTime midnight = EncodeDate(2024, 3, 5);
  const TDateTime noon = midnight + EncodeTime(12, 30, 0, 0);
  const TDateTime evening = Afternoon();
  EXPECT_EQ(Fmt("h:nn am/pm", midnight), "12:00 am");
  EXPECT_EQ(Fmt("h:nn am/pm", noon), "12:30 pm");
  EXPECT_EQ(Fmt("hh AM/PM", evening), "02 PM");
  EXPECT_EQ(Fmt("h a/p", evening), "2 p");
  EXPECT_EQ(Fmt("h A/P", midnight + EncodeTime(9, 0, 0, 0)), "9 A");
  TFormatSettings s;
  s.TimeAMString = "vorm.";
  s.TimePMString = "nachm.";
  EXPECT_EQ(FormatDateTime("hh:nn ampm", evening, s), "02:07 nachm.");
  EXPECT_EQ(Fmt("ampm hh", evening), "PM 02") << "the clock form applies to hours before it too";
  EXPECT_EQ(Fmt("hh \"am/pm\"", evening), "14 am/pm") << "a quoted am/pm is text, not a clock form";
}

TEST(FormatDateTime, SeparatorsQuotesAndUnknownLetters) {
  TFormatSettings s;
  s.DateSeparator = '.';
  s.TimeSeparator = 'h';
  const TDateTime v = Afternoon();
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", v, s), "05.03.2024 14h07");
  EXPECT_EQ(Fmt("'d' \"mm\" d", v), "d mm 5");
  EXPECT_EQ(Fmt("\"It's\" d", v), "It's 5");
  EXPECT_EQ(Fmt("d 'open", v), "5 open") << "an unterminated quote runs to the end";
  EXPECT_EQ(Fmt("'", v), "");
  EXPECT_EQ(Fmt("q w x! a", v), "q w x! a") << "unknown letters and a lone a are copied";
  EXPECT_EQ(Fmt("ab/pm", v), "ab-p3") << "not quite an am/pm form: letters, a separator, the month";
}

TEST(FormatDateTime, DefaultFormShowsTheTimeUnlessItIsMidnight) {
  const TDateTime day = EncodeDate(2024, 3, 5);
  EXPECT_EQ(Fmt("c", Afternoon()), "2024-03-05 14:07:09");
  EXPECT_EQ(Fmt("", Afternoon()), "2024-03-05 14:07:09") << "an empty format is the default form";
  EXPECT_EQ(Fmt("c", day), "2024-03-05");
  EXPECT_EQ(Fmt("c", day + EncodeTime(0, 0, 0, 500)), "2024-03-05") << "milliseconds alone still count as midnight";
  EXPECT_EQ(Fmt("c", day + EncodeTime(0, 0, 1, 0)), "2024-03-05 00:00:01");
  EXPECT_EQ(Fmt("[c]", day), "[2024-03-05]");
}

TEST(FormatDateTime, SettingsNamingTheDefaultFormDoNotRecurse) {
  TFormatSettings s;
  s.ShortDateFormat = "c dd";
  s.LongTimeFormat = "cc";
  EXPECT_EQ(FormatDateTime("c", Afternoon(), s), "c 05 cc");
}

TEST(FormatDateTime, ArbitraryFormatStringsNeverFail) {
  std::mt19937 random(20240305);
  const std::string alphabet = "dmyhnszcaApP/:'\"xq mM%\x01\xff";
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  const TDateTime v = Afternoon();
  for (int i = 0; i < 3000; ++i) {
    std::string format;
    for (int n = length(random); n > 0; --n) format += alphabet[pick(random)];
    std::string out;
    ASSERT_NO_THROW(out = Fmt(format, v)) << format;
    ASSERT_LT(out.size(), format.size() * 20 + 32) << format;
  }
}
