// UTC calendar arithmetic for log times: seconds since 1970-01-01 00:00 UTC to and from calendar
// fields, independent of the machine's time zone.
#pragma once

#include <cstdint>

namespace quorvel {

struct CivilTime {
  int year;     // e.g. 2001
  int month;    // 1..12
  int day;      // 1..31
  int hour;     // 0..23
  int minute;   // 0..59
  int second;   // 0..59
  int weekday;  // 0 = Sunday
  int yday;     // 0..365
};

/// Seconds since 1970 of a UTC moment. Fields out of their range roll over into the next larger
/// unit (month 13 is January of the next year, day 0 is the last day of the previous month).
std::int64_t UtcSeconds(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                        std::int64_t minute, std::int64_t second);

/// The UTC calendar fields of a timestamp.
CivilTime UtcCalendar(std::int64_t seconds);

/// UtcCalendar for the timestamps of one log, which mostly fall on the day of the one before:
/// the date is worked out once per day, the time of day every time. One per writer, so that
/// nothing is kept from one conversion to the next.
class CalendarDays {
 public:
  CivilTime Of(std::int64_t seconds);

 private:
  std::int64_t day = 0;
  bool known = false;
  CivilTime date{};
};

/// Days of a month (1..12) of a year; 0 for a month outside 1..12.
constexpr int DaysInMonth(std::int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month != 2) return kDays[month - 1];
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return leap ? 29 : 28;
}

/// True for a calendar date that exists (month 1..12, day 1..the month's last day).
constexpr bool IsCalendarDate(std::int64_t year, int month, int day) {
  return day >= 1 && day <= DaysInMonth(year, month);
}

/// True for a time of day given as hours 0..23, minutes and seconds 0..59.
constexpr bool IsTimeOfDay(int hour, int minute, int second) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

/// True when a timestamp fits the signed 32-bit time fields of binary logs.
inline bool FitsTime32(std::int64_t seconds) {
  return seconds >= INT32_MIN && seconds <= INT32_MAX;
}

}  // namespace quorvel
