#include "core/civil_time.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace quorvel {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Years far outside any log are pinned, as they always were, so that the seconds of every
// date stay far inside 64 bits.
constexpr std::int64_t kMinYear = -30000;
constexpr std::int64_t kMaxYear = 30000;

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};

// The standard calendar covers these days (about 30,000 years either side of 1970) exactly.
constexpr std::int64_t kCalendarDays = 10'000'000;

// Beyond them, days are counted in eras of 400 years (146,097 days), which repeat exactly;
// within an era the year starts on 1 March, so that a leap day is the last day of its year.
// Day 0 is 1970-01-01, day 719,468 counted from 0000-03-01.
CivilDate CivilFromFarDays(std::int64_t days) {
  constexpr std::int64_t kDaysPerEra = 146097;
  days += 719468;
  std::int64_t era = FloorDiv(days, kDaysPerEra);
  std::int64_t day_of_era = days - era * kDaysPerEra;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
  auto day = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  auto month =
      static_cast<int>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int DayOfYear(const CivilDate& date) {
  constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  return kDaysBefore[date.month - 1] + date.day - 1 + (leap && date.month > 2 ? 1 : 0);
}

}  // namespace

std::int64_t UtcSeconds(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                        std::int64_t minute, std::int64_t second) {
  using namespace std::chrono;
  std::int64_t month_index = year * 12 + (month - 1);
  std::int64_t whole_year = FloorDiv(month_index, 12);
  std::int64_t month_of_year = month_index - whole_year * 12 + 1;
  whole_year = std::clamp(whole_year, kMinYear, kMaxYear);
  sys_days first =
      year_month_day{std::chrono::year{static_cast<int>(whole_year)},
                     std::chrono::month{static_cast<unsigned>(month_of_year)}, std::chrono::day{1}};
  std::int64_t days = first.time_since_epoch().count() + (day - 1);
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

namespace {

// Whole days since 1970 and the seconds into the last of them (0..86399), for every
// timestamp without overflow.
struct DaysAndRest {
  std::int64_t days;
  std::int64_t rest;
};
DaysAndRest SplitDays(std::int64_t seconds) {
  DaysAndRest split{seconds / 86400, seconds % 86400};
  if (split.rest < 0) {
    split.rest += 86400;
    split.days -= 1;
  }
  return split;
}

void SetTimeOfDay(CivilTime& civil, std::int64_t rest) {
  auto seconds = static_cast<std::uint32_t>(rest);  // 0..86399: 32 bits are cheaper to divide
  civil.hour = static_cast<int>(seconds / 3600);
  civil.minute = static_cast<int>(seconds / 60 % 60);
  civil.second = static_cast<int>(seconds % 60);
}

}  // namespace

CivilTime UtcCalendar(std::int64_t seconds) {
  using namespace std::chrono;
  auto [days, rest] = SplitDays(seconds);
  CivilTime civil{};
  SetTimeOfDay(civil, rest);
  civil.weekday = static_cast<int>(days + 4 - FloorDiv(days + 4, 7) * 7);  // 1970-01-01: Thursday
  if (days < -kCalendarDays || days > kCalendarDays) {
    CivilDate date = CivilFromFarDays(days);
    // Beyond the years an int holds the year is pinned; every writer refuses such a year.
    civil.year = static_cast<int>(std::clamp<std::int64_t>(date.year, INT_MIN, INT_MAX));
    civil.month = date.month;
    civil.day = date.day;
    civil.yday = DayOfYear(date);
    return civil;
  }
  sys_days date{std::chrono::days{days}};
  year_month_day ymd{date};
  sys_days new_year = year_month_day{ymd.year(), January, std::chrono::day{1}};
  civil.year = static_cast<int>(ymd.year());
  civil.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  civil.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  civil.yday = static_cast<int>((date - new_year).count());
  return civil;
}

CivilTime CalendarDays::Of(std::int64_t seconds) {
  auto [days, rest] = SplitDays(seconds);
  if (!known || days != day) {
    date = UtcCalendar(seconds);
    day = days;
    known = true;
    return date;
  }
  SetTimeOfDay(date, rest);
  return date;
}

}  // namespace quorvel
