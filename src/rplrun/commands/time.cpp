// The clock: TICKS TIME DATE (a fixed moment unless --real-clock asks for local time).
#include "commands/support.h"
#include "machine/clock.h"

namespace rplrun {

namespace {

void ticks(Machine& m, const Args&) {
  m.push(Object::binary(clock_ticks(read_clock(m.real_clock))));
}

void time_(Machine& m, const Args&) { m.push(Object::real(clock_time(read_clock(m.real_clock)))); }

void date(Machine& m, const Args&) {
  m.push(Object::real(clock_date(read_clock(m.real_clock), m.flags.day_first())));
}

constexpr CommandRow rows[] = {
    {"TICKS", 0, ticks},
    {"TIME", 0, time_},
    {"DATE", 0, date},
};

}  // namespace

std::span<const CommandRow> time_commands() { return rows; }

}  // namespace rplrun
