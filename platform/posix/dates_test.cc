#include "platform/dates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>

#include "platform/posix/test_util.h"

namespace quill::platform {
namespace {

using testing::ScopedTimeZone;

// The system time of a UTC calendar time, computed independently of the code under test.
std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
  std::tm f{};
  f.tm_year = year - 1900;
  f.tm_mon = month - 1;
  f.tm_mday = day;
  f.tm_hour = hour;
  f.tm_min = minute;
  f.tm_sec = second;
  return timegm(&f);
}

TEST(DatesTest, WallClockDatesMapToSystemTimesInTheLocalZone) {
  struct Case {
    const char* zone;
    DateFields wall;
    std::time_t utc;
  };
  const Case cases[] = {
      // Summer time: Berlin is two hours ahead of UTC, in winter one.
      {"Europe/Berlin", {2024, 7, 1, 12, 0, 0}, Utc(2024, 7, 1, 10, 0, 0)},
      {"Europe/Berlin", {2024, 1, 15, 12, 0, 0}, Utc(2024, 1, 15, 11, 0, 0)},
      {"Europe/Berlin", {1970, 1, 1, 1, 0, 0}, 0},
      // Either side of the spring change on 2024-03-31 (02:00 becomes 03:00).
      {"Europe/Berlin", {2024, 3, 31, 1, 59, 59}, Utc(2024, 3, 31, 0, 59, 59)},
      {"Europe/Berlin", {2024, 3, 31, 3, 0, 0}, Utc(2024, 3, 31, 1, 0, 0)},
      {"UTC", {2024, 7, 1, 12, 0, 0}, Utc(2024, 7, 1, 12, 0, 0)},
      {"UTC", {2038, 1, 19, 3, 14, 7}, std::numeric_limits<int32_t>::max()},
      {"America/New_York", {2024, 7, 1, 12, 0, 0}, Utc(2024, 7, 1, 16, 0, 0)},
  };
  for (const Case& c : cases) {
    ScopedTimeZone tz(c.zone);
    const int32_t date = JoinDate(c.wall);
    // A program date counts wall-clock seconds as if the wall clock were UTC.
    EXPECT_EQ(date, Utc(c.wall.year, c.wall.month, c.wall.day, c.wall.hour, c.wall.minute,
                        c.wall.second));
    EXPECT_EQ(DateToTime(date), c.utc) << c.zone << " " << ::testing::PrintToString(c.wall);
    EXPECT_EQ(TimeToDate(c.utc), date) << c.zone << " " << ::testing::PrintToString(c.wall);
    EXPECT_EQ(SplitDate(date), c.wall);
  }
}

TEST(DatesTest, TimeToDateAndBackIsTheIdentity) {
  ScopedTimeZone tz("Europe/Berlin");
  // Every 7 hours and 13 seconds over three years, which crosses several summer time changes.
  // The hour repeated in autumn shows one wall-clock time for two system times: skip it.
  for (std::time_t t = Utc(2022, 1, 1, 0, 0, 0); t < Utc(2025, 1, 1, 0, 0, 0); t += 7 * 3600 + 13) {
    std::tm local{};
    localtime_r(&t, &local);
    const std::time_t an_hour_later = t + 3600;
    std::tm later{};
    localtime_r(&an_hour_later, &later);
    if (local.tm_isdst > 0 && later.tm_isdst == 0) continue;
    ASSERT_EQ(DateToTime(TimeToDate(t)), t);
  }
}

TEST(DatesTest, SplitAndJoinRoundTrip) {
  const DateFields cases[] = {
      {1970, 1, 1, 0, 0, 0},      {2024, 2, 29, 23, 59, 59}, {2000, 2, 29, 12, 0, 0},
      {1999, 12, 31, 23, 59, 59}, {2038, 1, 19, 3, 14, 7},   {1901, 12, 13, 20, 45, 52},
      {1969, 12, 31, 23, 59, 59},
  };
  for (const DateFields& fields : cases) {
    EXPECT_EQ(SplitDate(JoinDate(fields)), fields);
  }
  EXPECT_EQ(JoinDate({1901, 12, 13, 20, 45, 52}), std::numeric_limits<int32_t>::min());
  // Fields beyond their range carry over like a calendar would.
  EXPECT_EQ(SplitDate(JoinDate({2023, 12, 32, 0, 0, 0})), (DateFields{2024, 1, 1, 0, 0, 0}));
}

TEST(DatesTest, TimesOutsideTheDateRangeStopAtItsEnds) {
  ScopedTimeZone tz("UTC");
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(JoinDate({2038, 1, 19, 3, 14, 8}), kMax);
  EXPECT_EQ(JoinDate({2100, 1, 1, 0, 0, 0}), kMax);
  EXPECT_EQ(JoinDate({1901, 12, 13, 20, 45, 51}), kMin);
  EXPECT_EQ(JoinDate({1800, 1, 1, 0, 0, 0}), kMin);
  EXPECT_EQ(JoinDate({std::numeric_limits<int>::min(), 1, 1, 0, 0, 0}), kMin);
  EXPECT_EQ(TimeToDate(Utc(2100, 1, 1, 0, 0, 0)), kMax);
  EXPECT_EQ(TimeToDate(Utc(1800, 1, 1, 0, 0, 0)), kMin);
}

TEST(DatesTest, CurrentDateIsNow) {
  ScopedTimeZone tz("Europe/Berlin");
  const std::time_t before = std::time(nullptr);
  const int32_t date = CurrentDate();
  const std::time_t after = std::time(nullptr);
  EXPECT_GE(date, TimeToDate(before));
  EXPECT_LE(date, TimeToDate(after));
  // Berlin is at least one hour ahead of UTC.
  EXPECT_GE(date - before, 3600);
}

}  // namespace
}  // namespace quill::platform
