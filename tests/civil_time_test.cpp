// The engine's calendar arithmetic against the standard library's proleptic Gregorian calendar,
// which the engine may not use for log times but which is the reference for every date.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <tuple>

#include "core/civil_time.h"

namespace quorvel {
namespace {

using namespace std::chrono;

// Every day from 1899 to 2101 and every 997th day of the years -29,000 to 29,000.
TEST(CivilTime, AgreesWithTheGregorianCalendarDayByDay) {
  auto check_day = [](std::int64_t day_number) {
    year_month_day expected{sys_days{days{day_number}}};
    std::int64_t seconds = day_number * 86400 + 13 * 3600 + 37 * 60 + 5;
    CivilTime civil = UtcCalendar(seconds);
    ASSERT_EQ(civil.year, static_cast<int>(expected.year())) << day_number;
    ASSERT_EQ(civil.month, static_cast<int>(static_cast<unsigned>(expected.month()))) << day_number;
    ASSERT_EQ(civil.day, static_cast<int>(static_cast<unsigned>(expected.day()))) << day_number;
    ASSERT_EQ(civil.weekday, static_cast<int>(weekday{sys_days{days{day_number}}}.c_encoding()));
    sys_days new_year = year_month_day{expected.year(), January, day{1}};
    ASSERT_EQ(civil.yday, (sys_days{days{day_number}} - new_year).count()) << day_number;
    ASSERT_EQ(civil.hour * 3600 + civil.minute * 60 + civil.second, 13 * 3600 + 37 * 60 + 5);
    ASSERT_EQ(UtcSeconds(civil.year, civil.month, civil.day, 13, 37, 5), seconds) << day_number;
  };
  for (std::int64_t day_number = -25567; day_number <= 48212; ++day_number) check_day(day_number);
  for (std::int64_t day_number = -11'300'000; day_number <= 9'900'000; day_number += 997) {
    check_day(day_number);
  }
}

TEST(CivilTime, FieldsOutOfRangeRollOverAndTimesBeyondAnyYearArePinned) {
  EXPECT_EQ(UtcSeconds(2024, 13, 1, 0, 0, 0), UtcSeconds(2025, 1, 1, 0, 0, 0));
  EXPECT_EQ(UtcSeconds(2024, 3, 0, 0, 0, 0), UtcSeconds(2024, 2, 29, 0, 0, 0));
  EXPECT_EQ(UtcSeconds(2024, 0, 1, 0, 0, 0), UtcSeconds(2023, 12, 1, 0, 0, 0));
  EXPECT_EQ(UtcSeconds(1969, 12, 31, 23, 59, 59), -1);
  CivilTime before = UtcCalendar(-1);
  EXPECT_EQ(before.year * 10000 + before.month * 100 + before.day, 19691231);
  EXPECT_EQ(before.second, 59);
  // The largest and smallest times give a year no writer accepts, never a wrapped plausible one.
  EXPECT_GT(UtcCalendar(INT64_MAX).year, 1'000'000);
  EXPECT_LT(UtcCalendar(INT64_MIN).year, -1'000'000);
}

// A log's times: within a day, across midnight, back in time, before 1970 and far out.
TEST(CivilTime, CalendarDaysGivesWhatUtcCalendarGives) {
  CalendarDays calendar;
  std::int64_t day = 1732752000;  // 2024-11-28
  for (std::int64_t seconds : {day, day + 17, day + 86399, day + 86400, day + 3 * 3600, day - 1,
                               std::int64_t{-1}, std::int64_t{-86400}, std::int64_t{-86401},
                               std::int64_t{0}, day, INT64_MAX, INT64_MIN, day + 60}) {
    CivilTime expected = UtcCalendar(seconds);
    CivilTime got = calendar.Of(seconds);
    EXPECT_EQ(std::tie(got.year, got.month, got.day, got.hour, got.minute, got.second, got.weekday,
                       got.yday),
              std::tie(expected.year, expected.month, expected.day, expected.hour, expected.minute,
                       expected.second, expected.weekday, expected.yday))
        << seconds;
  }
}

}  // namespace
}  // namespace quorvel
