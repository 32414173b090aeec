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

/// A timestamp cut to the 32-bit time fields of the QSO record.
inline std::int32_t ToTime32(std::int64_t seconds) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds)));
}

}  // namespace quorvel
