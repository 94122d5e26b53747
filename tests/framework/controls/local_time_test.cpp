#include "framework/controls/local_time.h"

#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, NowFollowsTheVirtualClockToTheMillisecond) {
  // The headless screen's clock starts at 1 January 2024, 12:00.
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now(), TFormatSettings{}), "2024-01-01 12:00:00.000");
  Backend->AdvanceClock(1234);
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", Now(), TFormatSettings{}), "12:00:01.234");
  System.RunFor(12 * 3600 * 1000);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now(), TFormatSettings{}), "2024-01-02 00:00:01.234")
      << "running the loop moves the same clock, across midnight";
}

TEST(LocalTime, WithoutAWindowSystemNowIsTheSystemClock) {
  ASSERT_EQ(TWindowSystem::Current(), nullptr);
  const std::time_t before = std::time(nullptr);
  std::tm local{};
  localtime_r(&before, &local);
  const TDateTime now = Now();
  const TDateTime expected = EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                            local.tm_min, local.tm_sec, 0);
  // A generous bound: the two readings are taken moments apart.
  EXPECT_GE(now, expected);
  EXPECT_LT(now, expected + 60.0 / 86400);
}
