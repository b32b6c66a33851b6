// The two-reals path of running a command, inline for the evaluator's loop and for
// dispatch: most of what a program computes is arithmetic on two reals.
#pragma once

#include "machine/machine.h"
#include "objects/command_registry.h"

namespace rplrun {

// The two-reals path, the arithmetic of loops: the same result as the handler's, with
// the arguments left in place until the result replaces them (or an error drops them,
// flag -55 set). False when the two objects on top are not reals. Inlined into the
// evaluator's loop too, which runs most commands: the arithmetic of loops makes no call
// but that of its decimal operation.
[[gnu::always_inline]] inline bool Machine::compute_on_reals(const CommandInfo& info,
                                                             std::uint32_t id) {
  if (stack_.size() < 2) return false;
  Object& x = stack_[stack_.size() - 2];
  const Object& y = stack_.back();
  if (!x.is(Kind::real) || !y.is(Kind::real)) return false;
  const bool saved = flags.saves_last_args();
  if (saved) save_last_reals(x, y);
  Condition condition = Condition::none;
  const Real result = info.on_reals(x.as_real(), y.as_real(), condition);
  if (condition != Condition::none) [[unlikely]]
    settle_on_reals(condition, id, saved);
  x.set_real(result);
  stack_.pop_back();
  return true;
}

}  // namespace rplrun
