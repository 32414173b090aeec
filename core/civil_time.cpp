#include "core/civil_time.h"

#include <chrono>

namespace quorvel {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Years far outside any log are pinned so that the calendar types stay in their range.
constexpr std::int64_t kMinYear = -30000;
constexpr std::int64_t kMaxYear = 30000;

}  // namespace

std::int64_t UtcSeconds(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                        std::int64_t minute, std::int64_t second) {
  using namespace std::chrono;
  std::int64_t month_index = year * 12 + (month - 1);
  std::int64_t whole_year = FloorDiv(month_index, 12);
  std::int64_t month_of_year = month_index - whole_year * 12 + 1;
  if (whole_year < kMinYear) whole_year = kMinYear;
  if (whole_year > kMaxYear) whole_year = kMaxYear;
  sys_days first =
      year_month_day{std::chrono::year{static_cast<int>(whole_year)},
                     std::chrono::month{static_cast<unsigned>(month_of_year)}, std::chrono::day{1}};
  std::int64_t days = first.time_since_epoch().count() + (day - 1);
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

CivilTime UtcCalendar(std::int64_t seconds) {
  using namespace std::chrono;
  std::int64_t days = FloorDiv(seconds, 86400);
  std::int64_t rest = seconds - days * 86400;
  sys_days date{std::chrono::days{days}};
  year_month_day ymd{date};
  sys_days new_year = year_month_day{ymd.year(), January, std::chrono::day{1}};
  CivilTime civil{};
  civil.year = static_cast<int>(ymd.year());
  civil.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  civil.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  civil.hour = static_cast<int>(rest / 3600);
  civil.minute = static_cast<int>(rest / 60 % 60);
  civil.second = static_cast<int>(rest % 60);
  civil.weekday = static_cast<int>(weekday{date}.c_encoding());
  civil.yday = static_cast<int>((date - new_year).count());
  return civil;
}

}  // namespace quorvel
