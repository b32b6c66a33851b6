#include "machine/clock.h"

#include <chrono>
#include <ctime>

#include "numbers/real_functions.h"

namespace rplrun {

namespace {

constexpr std::uint64_t ticks_per_second = 8192;

// Days from 1 January of the year 0 to the date, in the Gregorian calendar extended
// backwards (the civil-from-days method: 400-year eras of 146097 days, years counted
// from March so that the leap day comes last).
std::int64_t days_from_year_zero(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  // The era count starts on 1 March of the year 0, 60 days after 1 January (a leap year).
  return era * 146097 + day_of_era + 60;
}

}  // namespace

ClockReading read_clock(bool real_clock) {
  ClockReading when;
  if (!real_clock) return when;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return when;
  const auto since_second = now - std::chrono::system_clock::from_time_t(seconds);
  const auto nanoseconds =
      std::chrono::duration_cast<std::chrono::nanoseconds>(since_second).count();
  when.year = local.tm_year + 1900;
  when.month = local.tm_mon + 1;
  when.day = local.tm_mday;
  when.hour = local.tm_hour;
  when.minute = local.tm_min;
  when.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
  if (nanoseconds > 0 && nanoseconds < 1'000'000'000)
    when.subticks = static_cast<std::uint32_t>(nanoseconds * ticks_per_second / 1'000'000'000);
  return when;
}

std::uint64_t clock_ticks(const ClockReading& when) {
  const std::int64_t days = days_from_year_zero(when.year, when.month, when.day);
  const std::int64_t seconds = ((days * 24 + when.hour) * 60 + when.minute) * 60 + when.second;
  return static_cast<std::uint64_t>(seconds) * ticks_per_second + when.subticks;
}

Real clock_time(const ClockReading& when) {
  const std::int64_t hhmmss = (when.hour * 100 + when.minute) * 100 + when.second;
  const auto scaled = static_cast<std::int64_t>(hhmmss * ticks_per_second + when.subticks);
  return divide(Real::from_int64(scaled),
                Real::from_int64(static_cast<std::int64_t>(ticks_per_second * 10000)))
      .value;
}

Real clock_date(const ClockReading& when, bool day_first) {
  const int first = day_first ? when.day : when.month;
  const int second = day_first ? when.month : when.day;
  const auto digits = static_cast<std::uint64_t>((first * 100 + second) * 10000 + when.year);
  return Real::from_decimal(false, digits, -6).value;
}

}  // namespace rplrun
