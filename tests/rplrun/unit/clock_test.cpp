// The clock's readings as TICKS, TIME and DATE give them; the tick counts were computed
// with Python's datetime ordinals (days since 1 January of the year 1, plus the 366
// days of the year 0).
#include <gtest/gtest.h>

#include "machine/clock.h"
#include "numbers/number_format.h"

namespace rplrun {
namespace {

struct ClockCase {
  ClockReading when;
  std::uint64_t ticks;
  const char* time;
  const char* date;  // MM.DDYYYY
  const char* date_day_first;
};

TEST(Clock, ReadingsAsTicksTimeAndDate) {
  const ClockCase cases[] = {
      {{1991, 1, 1, 0, 0, 0, 0}, 0x1d41e89a00000, "0", "1.011991", "1.011991"},
      {{2024, 2, 29, 13, 5, 7, 100}, 0x1dbea9fa06064, "13.0507012207", "2.292024", "29.022024"},
      {{1, 1, 1, 0, 0, 0, 0}, 0x3c50a00000, "0", "1.010001", "1.010001"},
      {{9999, 12, 31, 23, 59, 59, 8191}, 0x92f2d17afffff, "23.5959999878", "12.319999",
       "31.129999"},
      // The recorded 48GX's TIME at 12:30:01 and 7083 ticks.
      {{2030, 1, 1, 12, 30, 1, 7083}, 0, "12.3001864624", "1.01203", "1.01203"},
  };
  const DisplayMode standard;
  for (const ClockCase& c : cases) {
    SCOPED_TRACE(c.date);
    if (c.ticks != 0) {
      EXPECT_EQ(clock_ticks(c.when), c.ticks);
    }
    EXPECT_EQ(format_real(clock_time(c.when), standard), c.time);
    EXPECT_EQ(format_real(clock_date(c.when, false), standard), c.date);
    EXPECT_EQ(format_real(clock_date(c.when, true), standard), c.date_day_first);
  }
}

TEST(Clock, FixedUnlessTheRealOneIsAskedFor) {
  const ClockReading fixed = read_clock(false);
  EXPECT_EQ(clock_ticks(fixed), 0x1d41e89a00000u);
  const ClockReading now = read_clock(true);
  EXPECT_GT(clock_ticks(now), clock_ticks(fixed));
  EXPECT_LT(now.subticks, 8192u);
}

}  // namespace
}  // namespace rplrun
