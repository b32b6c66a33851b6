// The calculator's clock, read by TICKS, TIME, DATE and 0 RDZ, and its alarms. By
// default it stands at one fixed moment, so that runs repeat, and moves only when a
// program sets it or waits; asked for, it is the computer's local time. Setting it
// (\->TIME \->DATE CLKADJ) keeps an offset from either.
#pragma once

#include <cstdint>

#include "numbers/real.h"
#include "objects/object.h"

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
// The moment that many ticks stand for.
ClockReading reading_at(std::uint64_t ticks);
// The clock now: the fixed moment or local time, moved by `offset` ticks.
std::uint64_t clock_now(bool real_clock, std::int64_t offset);

constexpr std::uint64_t ticks_per_second = 8192;
constexpr std::uint64_t ticks_per_day = ticks_per_second * 86400;

// An alarm of the list: when it comes due (ticks), what it does (a string is an
// appointment, shown; any other object is evaluated), its repeat interval in ticks (0:
// none), and whether its message has been shown (a past-due appointment stays in the
// list until ACK).
struct Alarm {
  std::uint64_t due = 0;
  Object action;
  std::uint64_t repeat = 0;
  bool shown = false;
};
// TIME: HH.MMSSss, the seconds with their fraction.
Real clock_time(const ClockReading& when);
// DATE: MM.DDYYYY, or DD.MMYYYY when `day_first` (flag -42).
Real clock_date(const ClockReading& when, bool day_first);

}  // namespace rplrun
