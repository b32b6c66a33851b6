// The clock moved by a program: WAIT on the fixed clock, and the alarms that come due
// when the clock passes them.
#pragma once

#include "machine/machine.h"
#include "numbers/real.h"

namespace rplrun {

// WAIT x (x > 0): the fixed clock moves on x seconds (the real clock moves by itself);
// then the alarms due run.
void wait_on_clock(Machine& m, Real seconds);
// Shows each appointment that has come due, and evaluates each control alarm's action
// after the running command returns, in the order they came due.
void run_due_alarms(Machine& m);

}  // namespace rplrun
