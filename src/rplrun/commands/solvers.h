// What the solvers share: an equation as the expression that is zero on it, and the
// search for a root of one variable run on the machine's own loop.
#pragma once

#include <cstdint>
#include <vector>

#include "commands/support.h"
#include "objects/unit.h"

namespace rplrun {

// 'L=R' as 'L-R'; any other object as it is.
Object as_difference(const Object& x);

// Searches for a value of the variable `name` at which `function` (a program or an
// algebraic, evaluated numerically) is zero, from the guesses, storing each value tried
// in the variable. At the end the variable holds the root and `done` is handed it;
// Bad Guess(es) or Constant? end the search with the arguments `restore` put back,
// raised by the command whose id is `command`. With `units`, the values tried are unit
// objects in those units, and the function's values may be unit objects too.
void start_root_search(Machine& m, std::uint32_t command, Object function, Object name,
                       std::vector<Real> guesses, std::vector<Object> restore,
                       std::function<void(Machine&, Real)> done, UnitFactors units = {});

}  // namespace rplrun
