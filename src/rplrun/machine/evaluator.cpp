// The evaluator: frames on the return stack, what each kind of item does, the loop that
// runs them, and HALT and CONT.
#include <new>

#include "machine/machine.h"
#include "machine/two_reals.h"
#include "objects/algebraic.h"
#include "objects/command_registry.h"
#include "objects/elements.h"

namespace rplrun {

namespace {
std::atomic<bool> interrupt_flag{false};
constexpr std::uint32_t no_command = UINT32_MAX;
}  // namespace

void request_interrupt() { interrupt_flag.store(true, std::memory_order_relaxed); }
void clear_interrupt() { interrupt_flag.store(false, std::memory_order_relaxed); }
bool interrupt_requested() { return interrupt_flag.load(std::memory_order_relaxed); }

// ---- frames

// Inline: part of every call.
[[gnu::always_inline]] inline Machine::Frame& Machine::open_frame(Position origin) {
  if (frames_.size() + merged_frames_ >= limits.max_depth) fail(insufficient_memory);
  return frames_.emplace_back(origin, static_cast<std::uint32_t>(locals_.size()),
                              static_cast<std::uint32_t>(loops_.size()),
                              static_cast<std::uint32_t>(traps_.size()));
}

void Machine::push_frame(const Object& sequence, const Symbol* name, bool numeric,
                         bool run_programs) {
  if (synchronous_ != 0) not_supported();
  const Position origin = frames_.empty() ? Position{} : current_position();
  // A command object that evaluates another object as its last act (EVAL, IFT) hands
  // its place over: a long chain of them runs in constant depth, as on the calculator.
  if (!frames_.empty()) {
    const Frame& top = frames_.back();
    if (top.command_object && top.ip >= top.end && top.locals_base == locals_.size() &&
        top.loops_base == loops_.size() && top.traps_base == traps_.size())
      pop_frame();
  }
  Frame& frame = open_frame(origin);
  frame.owner = sequence.shared_node();
  show_items(frame, sequence);
  frame.name = name;
  frame.numeric = numeric;
  frame.run_programs = run_programs;
}

// A user function, \<< \-> a b \<< body \>> \>>: its arguments bound and its body
// shown in the frame at once, as the loop would do it item by item with the body run in
// place. False, nothing done, when anything would end otherwise (the step limit, too few
// arguments, the depth limit) or a watcher sees each item: the item by item way then
// stops or fails where it would.
[[gnu::always_inline]] inline bool Machine::enter_user_function(Frame& frame,
                                                                const Object& program) {
  const auto& node = program.node_as<ProgramNode>();
  if (node.control.empty() || node.control[0].op != ControlOp::bind) return false;
  const std::uint32_t count = node.control[0].target;
  const std::size_t body_index = count + 1;
  if (node.size() != body_index + 1 || stack_.size() < count || watchers.evaluated ||
      synchronous_ != 0 || frames_.size() + merged_frames_ >= limits.max_depth)
    return false;
  ++steps_;
  if (over_limits()) [[unlikely]] {
    --steps_;
    return false;
  }
  const Object* names = node.items().data() + 1;
  const std::size_t base = stack_.size() - count;
  for (std::uint32_t k = 0; k < count; ++k)
    locals_.emplace_back(names[k].symbol(), std::move(stack_[base + k]));
  stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(base), stack_.end());
  if (!node.positions.empty()) frame.origin = node.positions[body_index];
  show_items(frame, names[count]);
  frame.merged = 1;
  ++merged_frames_;
  return true;
}

// A program called by the global name an item of the running program names: a user
// function's call. Only EVAL and commands need push_frame's other cases, so this is the
// short way, the frame built once. Flattened: the frame's construction in place on the
// return stack is otherwise a call of its own.
[[gnu::flatten]] void Machine::call_program(const Object& program, const Symbol* name) {
  const Frame& caller = frames_.back();
  const Position origin = caller.positions ? caller.positions[caller.ip - 1] : caller.origin;
  const bool numeric_results = flags.numeric_results() || caller.numeric;
  Frame& frame = open_frame(origin);
  frame.owner = program.shared_node();
  frame.name = name;
  frame.numeric = numeric_results;
  // Otherwise the loop runs the program from its first item, a binding included.
  if (!enter_user_function(frame, program)) show_items(frame, program);
}

void Machine::pop_frame() {
  Frame& frame = frames_.back();
  // Most frames leave no locals, loops or traps behind: the common case costs a compare.
  if (frame.locals_base < locals_.size()) {
    if (index_count_ == 0)
      locals_.erase(locals_.begin() + frame.locals_base, locals_.end());
    else
      truncate_locals(frame.locals_base);
  }
  if (frame.loops_base != loops_.size()) loops_.resize(frame.loops_base);
  if (frame.traps_base != traps_.size()) traps_.resize(frame.traps_base);
  merged_frames_ -= frame.merged;
  frames_.pop_back();
}

void Machine::drop_frames(std::size_t size) {
  while (frames_.size() > size) {
    merged_frames_ -= frames_.back().merged;
    frames_.pop_back();
  }
}

void Machine::start_continuation(std::unique_ptr<Continuation> continuation) {
  if (synchronous_ != 0) not_supported();
  const std::uint32_t command = frames_.empty() ? no_command : current_command_;
  const bool numeric_results = numeric();
  Frame& frame = open_frame(current_position());
  frame.command = command;
  frame.numeric = numeric_results;
  frame.continuation = std::move(continuation);
}

Continuation* Machine::find_continuation(bool (*match)(const Continuation&)) {
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
    if (it->continuation && match(*it->continuation)) return it->continuation.get();
  }
  return nullptr;
}

Position Machine::frame_position(std::size_t i) const {
  const Frame& f = frames_[i];
  if (f.continuation || f.ip == 0 || !f.positions) return f.origin;
  return f.positions[f.ip - 1];
}

Position Machine::current_position() const {
  return frames_.empty() ? Position{} : frame_position(frames_.size() - 1);
}

// ---- evaluating objects

void Machine::evaluate(const Object& object) {
  switch (object.kind()) {
    case Kind::name: execute_name(object.unquoted()); return;
    case Kind::program:
    case Kind::algebraic: push_frame(object, nullptr, numeric()); return;
    case Kind::list: {
      const auto control = resolve_structures(object.items());
      if (!control) fail(invalid_syntax);
      push_frame(make_program(copy_items(object.items()), object.positions(), *control), nullptr,
                 numeric());
      return;
    }
    case Kind::command: {
      const std::uint32_t id = object.command_id();
      if (command_programs_.size() <= id) command_programs_.resize(id + 1);
      Object& program = command_programs_[id];
      if (!program.is(Kind::program)) program = make_program({object}, {}, {});
      push_frame(program, nullptr, numeric());
      frames_.back().command_object = true;
      return;
    }
    case Kind::tagged: {
      // The tags come off; what they hold is evaluated.
      const Object* inner = &object.tagged_value();
      while (inner->is(Kind::tagged)) inner = &inner->tagged_value();
      evaluate(*inner);
      return;
    }
    case Kind::call: execute_call(object); return;
    default: push(object); return;
  }
}

void Machine::evaluate_numerically(const Object& object) {
  switch (object.kind()) {
    case Kind::name: push_frame(Object::algebraic({object.unquoted()}), nullptr, true); return;
    case Kind::algebraic:
    case Kind::program: push_frame(object, nullptr, true); return;
    default: push(object); return;
  }
}

void Machine::call(const Object& program) { push_frame(program, nullptr, numeric()); }

// A local name, or a global one that an index of SEQ hides: its value.
void Machine::execute_local(const Object& name) {
  const Object* value = name.is_local() ? local(name.symbol()) : index_local(name.symbol());
  if (!value) fail(undefined_local_name);
  if (value->is_symbolic() && numeric()) {
    evaluate_numerically(*value);
    return;
  }
  push(*value);
}

void Machine::execute_name(const Object& name) {
  if (name.is_local() || (index_count_ != 0 && index_local(name.symbol()))) {
    execute_local(name);
    return;
  }
  evaluate_global(name.symbol(), global(name.symbol()));
}

// A global name whose variable, if any, was looked up already: `value` (null if none).
void Machine::evaluate_global(const Symbol* symbol, const Object* value) {
  for (;;) {
    if (!value) {
      if (numeric()) fail_undefined_name();
      push(Object::name(symbol));
      return;
    }
    switch (value->kind()) {
      case Kind::program: push_frame(*value, symbol, numeric()); return;
      case Kind::name:
        // A name holding a name evaluates that one in turn.
        if (value->is_local()) {
          execute_name(value->unquoted());
          return;
        }
        symbol = value->symbol();
        ++steps_;
        check_limits();
        value = global(symbol);
        continue;
      case Kind::algebraic:
        if (numeric()) {
          push_frame(*value, nullptr, true);
          return;
        }
        push(*value);
        return;
      case Kind::directory:
        enter_directory(const_cast<DirectoryNode&>(value->node_as<DirectoryNode>()));
        return;
      default: push(*value); return;
    }
  }
}

void Machine::execute_call(const Object& call) {
  const Symbol* symbol = call.symbol();
  const std::uint32_t argc = call.call_argc();
  // A calculator function that rplrun does not run, kept by name in the algebraic.
  if (!call.is_local()) {
    if (const auto id = find_command(symbol);
        id &&
        (!command_info(*id).supported || command_info(*id).algebra.notation == Notation::kept))
      stop_unsupported(*id);
  }
  require(argc);
  const Object* value = call.is_local() ? local(symbol) : global(symbol);
  if (!value) {
    if (call.is_local()) fail(undefined_local_name);
    if (numeric()) fail_undefined_name();
    Object result = build_algebraic(stack_.data() + stack_.size() - argc, argc, call);
    stack_.resize(stack_.size() - argc);
    push(std::move(result));
    return;
  }
  if (value->is(Kind::program)) {
    push_frame(*value, call.is_local() ? nullptr : symbol, numeric());
    return;
  }
  if (value->is(Kind::list) || value->is(Kind::array)) {
    const std::size_t offset = element_offset(*value, stack_.data() + stack_.size() - argc, argc);
    Object element = element_at(*value, offset);
    stack_.resize(stack_.size() - argc);
    push(std::move(element));
    return;
  }
  fail(bad_argument_type);
}

// A local name: its value. Most locals hold a number, pushed here without a call. True
// when it took the long way, which may push a frame.
[[gnu::always_inline]] inline bool Machine::run_local_name(const Object& item) {
  if (const Object* value = local(item.symbol()); value && !value->is_symbolic()) [[likely]] {
    push(*value);
    return false;
  }
  execute_local(item);
  return true;
}

// A local name, a real or local, and a two-reals command (n 2 <): the result of the
// three, as the three steps would leave it, without the two pushes and the loop's turns
// between, and a test just after them (THEN) taken as well. The three items are taken
// one by one when anything could end, fail or show otherwise: values that are not both
// reals, the step limit or a watcher within the three, a stack that would be full,
// LASTARG not holding two reals already (saving others may fail for memory), an
// operation whose result sets a condition.
[[gnu::always_inline]] inline bool Machine::run_local_operation(Frame& frame, const Object& item,
                                                                std::uint32_t index) {
  const Object& second = frame.items[index + 1];
  const Object* x = local(item.symbol());
  const Object* y = second.is(Kind::real) ? &second : local(second.symbol());
  const bool saved = flags.saves_last_args();
  if (x && y && x->is(Kind::real) && y->is(Kind::real) && steps_ + 2 <= slow_after_ &&
      stack_.size() + 2 <= limits.max_stack && (!saved || last_args_are_reals())) [[likely]] {
    const std::uint32_t id = frame.items[index + 2].command_id();
    Condition condition = Condition::none;
    const Real result = command_info(id).on_reals(x->as_real(), y->as_real(), condition);
    if (condition == Condition::none) [[likely]] {
      if (saved) set_last_reals(x->as_real(), y->as_real());
      // A test right after (IF n 2 < THEN) takes the result without its going on the
      // stack.
      const std::uint32_t next = index + 3;
      if (next < frame.end && frame.control[next].step == Step::test && steps_ + 3 <= slow_after_) {
        steps_ += 3;
        frame.ip = result.is_zero() ? frame.control[next].target : next + 1;
        return false;
      }
      steps_ += 2;
      frame.ip = next;
      stack_.push_back(*x);
      stack_.back().set_real(result);
      return false;
    }
  }
  return run_local_name(item);
}

// A global name, unquoted, met in a program or an algebraic: a program it holds is
// called the short way.
[[gnu::always_inline]] inline void Machine::run_global_name(const Frame& frame,
                                                            const Object& item) {
  if (watchers.undefined_name && !frame.algebraic && !global(item.symbol())) [[unlikely]]
    watchers.undefined_name(current_position(), item);
  if (index_count_ == 0) [[likely]] {
    const Object* value = global(item.symbol());
    if (value && value->is(Kind::program)) {
      call_program(*value, item.symbol());
      return;
    }
    evaluate_global(item.symbol(), value);
    return;
  }
  execute_name(item);
}

// A built-in command, inline: the loop's arithmetic takes the two-reals path without a
// call.
[[gnu::always_inline]] inline void Machine::run_command_item(const Object& item) {
  const std::uint32_t id = item.command_id();
  const CommandInfo& info = command_info(id);
  if (info.on_reals && compute_on_reals(info, id)) return;
  run_handler(info, id);
}

// One item of a program: one choice, by the step worked out when the program was made.
// True when the item may have pushed or removed a frame, which may move `frame`: it is
// not used after that. Inlined into the loop, which runs it for most items.
[[gnu::always_inline]] inline bool Machine::execute_step(Frame& frame, const Object& item,
                                                         std::uint32_t index) {
  const Control& control = frame.control[index];
  switch (control.step) {
    case Step::push: push(item); return false;
    case Step::push_name: push(item.unquoted()); return false;
    case Step::local_name: return run_local_name(item);
    case Step::local_operation: return run_local_operation(frame, item, index);
    case Step::global_name: run_global_name(frame, item); return true;
    case Step::call: execute_call(item); return true;
    case Step::program:
      if (frame.run_programs) {
        push_frame(item, nullptr, numeric());
        return true;
      }
      push(item);
      return false;
    case Step::command_on_reals: {
      const std::uint32_t id = item.command_id();
      const CommandInfo& info = command_info(id);
      if (compute_on_reals(info, id)) return false;
      run_handler(info, id);
      return true;
    }
    case Step::command: {
      const std::uint32_t id = item.command_id();
      run_handler(command_info(id), id);
      return true;
    }
    // The structure words that only jump, test or do nothing (IF, THEN, END, ELSE) cost
    // no call.
    case Step::nop: return false;
    case Step::jump: frame.ip = control.target; return false;
    case Step::test:
      if (!take_test(item.command_id())) frame.ip = control.target;
      return false;
    case Step::structure: break;
  }
  run_structure(frame, control, item.command_id(), index);
  return true;
}

// One item of a list or an algebraic being evaluated, which have no steps: by its kind.
void Machine::execute_object(Frame& frame, const Object& item) {
  switch (item.kind()) {
    case Kind::name:
      if (item.is_quoted()) {
        push(item.unquoted());
        return;
      }
      if (item.is_local()) {
        run_local_name(item);
        return;
      }
      run_global_name(frame, item);
      return;
    case Kind::command: run_command_item(item); return;
    case Kind::call: execute_call(item); return;
    case Kind::program:
      if (frame.run_programs) {
        push_frame(item, nullptr, numeric());
        return;
      }
      push(item);
      return;
    default: push(item); return;
  }
}

void Machine::execute(Frame& frame, const Object& item, std::uint32_t index) {
  if (frame.control)
    execute_step(frame, item, index);
  else
    execute_object(frame, item);
}

bool Machine::over_limits() const {
  return interrupt_flag.load(std::memory_order_relaxed) ||
         (limits.max_steps != 0 && steps_ > limits.max_steps);
}

void Machine::check_limits() {
  if (over_limits()) throw Stop{Outcome::Status::interrupted};
}

// ---- stopping, HALT and CONT

void Machine::stop(Outcome::Status status) { throw Stop{status}; }

void Machine::stop_unsupported(std::uint32_t command) {
  unsupported_ = command;
  throw Stop{Outcome::Status::unsupported};
}

void Machine::reject_answer(const Answer& answer, std::string why) {
  rejected_ = Rejected{answer.where, std::move(why), current_command_};
  throw Stop{Outcome::Status::bad_answer};
}

void Machine::not_supported() { stop_unsupported(current_command_); }

void Machine::kill() {
  halted_.clear();
  stop(Outcome::Status::killed);
}

void Machine::continue_halted() {
  if (halted_.empty()) return;
  Halted program = std::move(halted_.back());
  halted_.pop_back();
  // Its frames, locals, loops and traps go on top of the running ones: every index
  // they hold into those stacks moves up by what is already there.
  const auto frames = static_cast<std::uint32_t>(frames_.size());
  const auto locals = static_cast<std::uint32_t>(locals_.size());
  const auto loops = static_cast<std::uint32_t>(loops_.size());
  const auto traps = static_cast<std::uint32_t>(traps_.size());
  for (Frame& f : program.frames) {
    merged_frames_ += f.merged;
    f.locals_base += locals;
    f.loops_base += loops;
    f.traps_base += traps;
    frames_.push_back(std::move(f));
  }
  for (LocalSlot& slot : program.locals) locals_.push_back(std::move(slot));
  for (Loop& loop : program.loops) {
    if (loop.slot >= 0) loop.slot += static_cast<std::int32_t>(locals);
    loops_.push_back(std::move(loop));
  }
  for (ErrorTrap& trap : program.traps) {
    trap.frame += frames;
    trap.locals += locals;
    trap.loops += loops;
    traps_.push_back(trap);
  }
}

// ---- errors

// A name without a value met while evaluating numerically (\->NUM of 'Y'): as after any
// error, the arguments of the last command come back (flag -55 clear), so that the
// algebraic \->NUM took is not lost.
void Machine::fail_undefined_name() {
  if (flags.saves_last_args())
    for (const Object& x : last_arguments()) push(x);
  fail(undefined_name);
}

// The innermost IFERR takes the error: the run goes on at its THEN clause.
bool Machine::catch_error(const RplError& error) {
  error_number = error.number;
  error_text = error.message;
  if (traps_.empty()) return false;
  const ErrorTrap trap = traps_.back();
  traps_.pop_back();
  drop_frames(trap.frame + 1);
  truncate_locals(trap.locals);
  loops_.resize(trap.loops);
  frames_[trap.frame].ip = trap.resume_ip;
  return true;
}

void Machine::fill_chain(Outcome& outcome) const {
  for (std::size_t i = frames_.size(); i-- > 1;) {
    if (frames_[i].name) outcome.chain.emplace_back(frames_[i].name, frame_position(i - 1));
  }
}

void Machine::fill_error(Outcome& outcome, const RplError& error) {
  outcome.status = Outcome::Status::error;
  outcome.error = error;
  if (error.command && error.names_command) outcome.command = command_info(*error.command).name;
  outcome.where = current_position();
  fill_chain(outcome);
}

// ---- the loop

// The step limit, the watchers and interruptions cost one compare and one test:
// slow_after_ is 0 under a watcher.
[[gnu::always_inline]] inline bool Machine::count_item() {
  return ++steps_ <= slow_after_ && !interrupt_flag.load(std::memory_order_relaxed);
}

// Runs the items of the top frame, and of the frames they push, until no frame is left.
void Machine::run_frames() {
  while (!frames_.empty()) {
    Frame& frame = frames_.back();
    // A continuation's frame has no items (ip and end 0): one test finds both.
    if (frame.ip >= frame.end) {
      if (frame.continuation) [[unlikely]]
        resume(frame);
      else
        pop_frame();
      continue;
    }
    if (frame.control) [[likely]] {
      run_steps(frame);
      continue;
    }
    const std::uint32_t index = frame.ip++;
    // The item stays alive while its frame's owner does, even if frames_ grows.
    const Object& item = frame.items[index];
    if (!count_item()) [[unlikely]] {
      execute_slowly(frame, item, index);
      continue;
    }
    execute_object(frame, item);
  }
}

// The items of a program's frame, one after another while none of them pushes or removes
// a frame: the loop then finds the frame again.
[[gnu::always_inline]] inline void Machine::run_steps(Frame& frame) {
  do {
    const std::uint32_t index = frame.ip++;
    const Object& item = frame.items[index];
    if (!count_item()) [[unlikely]] {
      execute_slowly(frame, item, index);
      return;
    }
    if (execute_step(frame, item, index)) return;
  } while (frame.ip < frame.end);
}

// An item that the loop's one test sent here: the run stops at the step limit or an
// interruption; otherwise, under --trace, the watcher sees the item once it has run.
[[gnu::noinline]] void Machine::execute_slowly(Frame& frame, const Object& item,
                                               std::uint32_t index) {
  check_limits();
  if (!watchers.evaluated) {
    execute(frame, item, index);
    return;
  }
  const Position where = current_position();
  const Object traced = item;
  execute(frame, item, index);
  watchers.evaluated(where, traced);
}

// A continuation's turn. Each resumption is a step: a command that runs an object which
// pushes no frame of its own ('X' 1 1E15 1 SEQ) is bounded like any loop.
void Machine::resume(Frame& frame) {
  ++steps_;
  check_limits();
  const std::size_t index = frames_.size() - 1;
  current_command_ = frame.command;
  if (frame.continuation->resume(*this)) {
    while (frames_.size() > index) pop_frame();
  }
  current_command_ = no_command;
}

Outcome Machine::run(const Object& body, bool run_programs) {
  Outcome outcome;
  current_command_ = no_command;
  slow_after_ = watchers.evaluated ? 0 : limits.max_steps != 0 ? limits.max_steps : UINT64_MAX;
  push_frame(body, nullptr, false, run_programs);
  for (bool running = true; running;) {
    try {
      run_frames();
      running = false;
    } catch (const RplError& error) {
      running = catch_error(error);
      if (!running) fill_error(outcome, error);
    } catch (const std::bad_alloc&) {
      const RplError error = error_of(insufficient_memory);
      running = catch_error(error);
      if (!running) fill_error(outcome, error);
    } catch (const Stop& stop) {
      outcome.status = stop.status;
      outcome.where = current_position();
      if (stop.status == Outcome::Status::unsupported && unsupported_) {
        outcome.command = command_info(*unsupported_).name;
      }
      if (stop.status == Outcome::Status::bad_answer && rejected_) {
        outcome.asked = outcome.where;
        outcome.where = rejected_->where;
        outcome.error.message = std::move(rejected_->why);
        if (rejected_->command != no_command)
          outcome.command = command_info(rejected_->command).name;
        rejected_.reset();
      }
      fill_chain(outcome);
      if (stop.status == Outcome::Status::halted) {
        halted_.push_back(
            {std::move(frames_), std::move(locals_), std::move(loops_), std::move(traps_)});
      }
      running = false;
    }
  }
  frames_.clear();
  merged_frames_ = 0;
  truncate_locals(0);
  loops_.clear();
  traps_.clear();
  current_command_ = no_command;
  return outcome;
}

}  // namespace rplrun
