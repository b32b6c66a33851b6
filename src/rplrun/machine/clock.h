// The calculator's clock, read by TICKS, TIME, DATE and 0 RDZ. By default it stands
// still at one fixed moment, so that runs repeat; asked for, it is the computer's local
// time.
#pragma once

#include <cstdint>

#include "numbers/real.h"

namespace rplrun {

// A moment of the clock: a date of the Gregorian calendar, a time of day, and the
// clock's ticks (8192 a second) within the second.
struct ClockReading {
  int year = 1991;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  std::uint32_t subticks = 0;  // 0..8191
};

// The fixed moment: midnight at the start of 1 January 1991, where the clock of the
// recorded calculator sessions starts after a reset. The real clock: local time now.
ClockReading read_clock(bool real_clock);

// TICKS: ticks since midnight at the start of 1 January of the year 0 (the Gregorian
// calendar extended backwards).
std::uint64_t clock_ticks(const ClockReading& when);
// TIME: HH.MMSSss, the seconds with their fraction.
Real clock_time(const ClockReading& when);
// DATE: MM.DDYYYY, or DD.MMYYYY when `day_first` (flag -42).
Real clock_date(const ClockReading& when, bool day_first);

}  // namespace rplrun
