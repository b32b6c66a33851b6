#include "machine/clock.h"

#include <chrono>
#include <ctime>

#include "numbers/calendar.h"
#include "numbers/real_functions.h"

namespace rplrun {

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
  const std::int64_t days = day_number(Date{when.year, when.month, when.day});
  const std::int64_t seconds = ((days * 24 + when.hour) * 60 + when.minute) * 60 + when.second;
  return static_cast<std::uint64_t>(seconds) * ticks_per_second + when.subticks;
}

ClockReading reading_at(std::uint64_t ticks) {
  const Date date = date_of_day(static_cast<std::int64_t>(ticks / ticks_per_day));
  const std::uint64_t in_day = ticks % ticks_per_day;
  const std::uint64_t seconds = in_day / ticks_per_second;
  ClockReading when;
  when.year = date.year;
  when.month = date.month;
  when.day = date.day;
  when.hour = static_cast<int>(seconds / 3600);
  when.minute = static_cast<int>(seconds / 60 % 60);
  when.second = static_cast<int>(seconds % 60);
  when.subticks = static_cast<std::uint32_t>(in_day % ticks_per_second);
  return when;
}

std::uint64_t clock_now(bool real_clock, std::int64_t offset) {
  return clock_ticks(read_clock(real_clock)) + static_cast<std::uint64_t>(offset);
}

Real clock_time(const ClockReading& when) {
  const std::int64_t hhmmss = (when.hour * 100 + when.minute) * 100 + when.second;
  const auto scaled = static_cast<std::int64_t>(hhmmss * ticks_per_second + when.subticks);
  return divide(Real::from_int64(scaled),
                Real::from_int64(static_cast<std::int64_t>(ticks_per_second * 10000)))
      .value;
}

Real clock_date(const ClockReading& when, bool day_first) {
  return date_real(Date{when.year, when.month, when.day}, day_first);
}

}  // namespace rplrun
