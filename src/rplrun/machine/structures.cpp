// The structure words at run time: each does what the structure resolved for it when
// the program was read (control.h): a test, a jump, an error trap, a loop step, locals.
#include "machine/machine.h"
#include "numbers/real_functions.h"

namespace rplrun {

namespace {

const Real one = Real::from_int64(1);
}  // namespace

// Every word that does more than a jump is a call of its own, so that the jumps and
// tests of loops run without setting up a frame for the others.
void Machine::run_structure(Frame& frame, const Control& c, std::uint32_t word,
                            std::uint32_t index) {
  switch (c.op) {
    case ControlOp::none:
    case ControlOp::nop: return;
    case ControlOp::test:
    case ControlOp::until_end:
      if (!take_test(word)) frame.ip = c.target;
      return;
    case ControlOp::jump: frame.ip = c.target; return;
    case ControlOp::iferr: set_trap(c.target); return;
    case ControlOp::iferr_then:
      traps_.pop_back();
      frame.ip = c.target;
      return;
    case ControlOp::start: start_loop(word, index); return;
    case ControlOp::for_loop: start_for(frame, word, index); return;
    case ControlOp::next: next_loop(frame, word, false); return;
    case ControlOp::step: next_loop(frame, word, true); return;
    case ControlOp::bind: bind_locals(frame, word, index, c.target); return;
  }
}

// IFERR: an error from here on resumes at the THEN clause, `resume_ip`.
[[gnu::noinline]] void Machine::set_trap(std::uint32_t resume_ip) {
  traps_.push_back({static_cast<std::uint32_t>(frames_.size() - 1), resume_ip,
                    static_cast<std::uint32_t>(locals_.size()),
                    static_cast<std::uint32_t>(loops_.size())});
}

// START and FOR: the start and end, two reals.
void Machine::take_bounds(std::uint32_t word, Object& start, Object& end) {
  if (stack_.size() < 2) fail(too_few_arguments, word);
  if (!level(1).is(Kind::real) || !level(2).is(Kind::real)) fail(bad_argument_type, word);
  end = pop();
  start = pop();
}

[[gnu::noinline]] void Machine::start_loop(std::uint32_t word, std::uint32_t index) {
  Object start;
  Object end;
  take_bounds(word, start, end);
  loops_.push_back({index + 1, -1, std::move(start), std::move(end)});
}

// FOR: the counter is a local named by the next item; the body follows it.
[[gnu::noinline]] void Machine::start_for(Frame& frame, std::uint32_t word, std::uint32_t index) {
  Object start;
  Object end;
  take_bounds(word, start, end);
  const auto slot = static_cast<std::int32_t>(locals_.size());
  locals_.emplace_back(frame.items[index + 1].symbol(), std::move(start));
  loops_.push_back({index + 2, slot, Object(), std::move(end)});
  frame.ip = index + 2;
}

// NEXT and STEP: the counter moves on (by 1, or by the real on level 1), and the body
// runs again while the counter has not passed the end.
void Machine::next_loop(Frame& frame, std::uint32_t word, bool step) {
  const Real increment = step ? take_step(word) : one;
  Loop& loop = loops_.back();
  Object& counter = loop.slot >= 0 ? locals_[static_cast<std::size_t>(loop.slot)].variable.settled()
                                   : loop.counter;
  if (!counter.is(Kind::real)) fail(bad_argument_type, word);
  Condition condition = Condition::none;
  const Real next = add(counter.as_real(), increment, condition);
  if (condition != Condition::none) [[unlikely]]
    flags.settle_condition(condition);
  if (step && increment.is_negative() ? next >= loop.end.as_real() : next <= loop.end.as_real()) {
    counter.set_real(next);
    frame.ip = loop.body;
    return;
  }
  if (loop.slot >= 0) truncate_locals(static_cast<std::size_t>(loop.slot));
  loops_.pop_back();
}

// STEP's increment, the real on level 1.
Real Machine::take_step(std::uint32_t word) {
  if (stack_.empty()) fail(too_few_arguments, word);
  if (!level(1).is(Kind::real)) fail(bad_argument_type, word);
  return pop().as_real();
}

// The frame's program goes on as `body`, one of its own items, as a frame of its own
// would run it; the frame's locals are dropped with it as before. Part of every call of a
// user function: inlined into bind_locals.
[[gnu::always_inline]] inline void Machine::run_in_place(Frame& frame, const Object& body) {
  if (frames_.size() + merged_frames_ >= limits.max_depth) fail(insufficient_memory);
  // Where the body is, as its own frame would have been called from.
  if (frame.positions) frame.origin = frame.positions[frame.ip - 1];
  frame.numeric = frame.numeric || flags.numeric_results();
  show_items(frame, body);
  ++frame.merged;
  ++merged_frames_;
}

// \->: the `count` names that follow take the objects on the stack, for the program or
// algebraic after them.
[[gnu::noinline]] void Machine::bind_locals(Frame& frame, std::uint32_t word, std::uint32_t index,
                                            std::uint32_t count) {
  if (stack_.size() < count) fail(too_few_arguments, word);
  const std::size_t base = stack_.size() - count;
  const auto locals_base = static_cast<std::uint32_t>(locals_.size());
  const Object* names = frame.items + index + 1;
  Object* values = stack_.data() + base;
  for (std::uint32_t k = 0; k < count; ++k)
    locals_.emplace_back(names[k].symbol(), std::move(values[k]));
  stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(base), stack_.end());
  const Object& body = frame.items[index + 1 + count];
  frame.ip = index + count + 2;
  // The body ends the program (a user function, \<< \-> a b \<< ... \>> \>>): it runs in
  // this frame, which its program's owner keeps alive, rather than in one of its own.
  if (frame.ip == frame.end && frame.loops_base == loops_.size() &&
      frame.traps_base == traps_.size() && !frame.run_programs && synchronous_ == 0) {
    run_in_place(frame, body);
    return;
  }
  push_frame(body, nullptr, numeric());
  frames_.back().locals_base = locals_base;
}

}  // namespace rplrun
