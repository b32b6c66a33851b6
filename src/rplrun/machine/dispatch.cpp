// Running one command: the checks the command table asks for, LASTARG, and the choice of
// what computes the result (the two-reals path, the array form, a symbolic result, the
// elements of lists, or the handler).
#include <algorithm>
#include <new>

#include "machine/elementwise.h"
#include "machine/machine.h"
#include "machine/two_reals.h"
#include "objects/algebraic.h"
#include "objects/command_registry.h"

namespace rplrun {

namespace {
constexpr std::uint32_t no_command = UINT32_MAX;
// The most arguments any command takes from the stack.
constexpr int max_args = 6;

// The arguments of the command running, moved off the stack: only as many objects as
// it takes are built.
class ArgBuffer {
 public:
  ArgBuffer(Object* from, int count) : count_(count) {
    for (int k = 0; k < count; ++k) new (storage_ + k * sizeof(Object)) Object(std::move(from[k]));
  }
  ~ArgBuffer() {
    for (int k = 0; k < count_; ++k) data()[k].~Object();
  }
  ArgBuffer(const ArgBuffer&) = delete;
  ArgBuffer& operator=(const ArgBuffer&) = delete;
  Object* data() { return std::launder(reinterpret_cast<Object*>(storage_)); }
  Object& operator[](int k) { return data()[k]; }

 private:
  alignas(Object) unsigned char storage_[max_args * sizeof(Object)];
  int count_;
};

// Puts the first `count` arguments back where they were taken from, dropping whatever
// the command left above them.
void give_back(std::vector<Object>& stack, std::size_t base, ArgBuffer& args, int count) {
  if (stack.size() > base) stack.resize(base);
  for (int k = 0; k < count; ++k) stack.push_back(std::move(args[k]));
}

// Whether a command's array form applies (ArrayForm in table.h); args[0] is the deepest.
bool takes_array_form(const CommandInfo& info, const Object* args, int n) {
  if (info.array_target) return args[0].is(Kind::array);
  bool array = false;
  for (int k = 0; k < n; ++k) {
    if (args[k].is(Kind::list) || args[k].is(Kind::string)) return false;
    array = array || args[k].is(Kind::array);
  }
  return array;
}

// Whether a command's unit form applies: a unit object among reals and unit objects.
bool takes_unit_form(const Object* args, int n) {
  bool unit = false;
  for (int k = 0; k < n; ++k) {
    if (!args[k].is(Kind::real) && !args[k].is(Kind::unit)) return false;
    unit = unit || args[k].is(Kind::unit);
  }
  return unit;
}

}  // namespace

// The command whose handler is running, for the whole of its run: what not_supported
// and continuations name.
class Machine::RunningCommand {
 public:
  RunningCommand(Machine& machine, std::uint32_t id)
      : machine_(machine), outer_(machine.current_command_) {
    machine.current_command_ = id;
  }
  ~RunningCommand() { machine_.current_command_ = outer_; }
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;

 private:
  Machine& machine_;
  std::uint32_t outer_;
};

void Machine::dispatch(std::uint32_t id) {
  const CommandInfo& info = command_info(id);
  // A command that computes on two reals is always runnable (the table checks it): the
  // arithmetic of loops takes this short way.
  if (info.on_reals && compute_on_reals(info, id)) return;
  run_handler(info, id);
}

// Kept out of line: its frame (the arguments, the handler's error paths) would otherwise
// be set up for every addition of a loop too.
[[gnu::noinline]] void Machine::run_handler(const CommandInfo& info, std::uint32_t id) {
  check_runnable(info, id);
  const int n = info.argc;
  if (stack_.size() < static_cast<std::size_t>(n)) fail(too_few_arguments, id);
  const std::size_t base = stack_.size() - static_cast<std::size_t>(n);
  ArgBuffer args(stack_.data() + base, n);
  stack_.resize(base);
  const bool tagged = info.operands != Operands::any && check_operands(info, id, args.data(), n);
  // With flag -55 set the arguments are not saved, and an error does not bring them back.
  const bool saved = n > 0 && flags.saves_last_args();
  if (saved) save_last_arguments(args.data(), n);
  // A function of numbers sees through tags; LASTARG and an error keep the tagged objects.
  std::vector<Object> as_given;
  if (tagged) {
    as_given.assign(args.data(), args.data() + n);
    for (int k = 0; k < n; ++k)
      while (args[k].is(Kind::tagged)) args[k] = Object(args[k].tagged_value());
  }
  const RunningCommand running(*this, id);
  try {
    route(info, id, args.data(), n);
  } catch (RplError& error) {
    if (tagged)
      for (int k = 0; k < n; ++k) args[k] = std::move(as_given[static_cast<std::size_t>(k)]);
    give_back(stack_, base, args, saved ? n : 0);
    if (!error.command) error.command = id;
    throw;
  } catch (const std::bad_alloc&) {
    // Memory that the system refuses is the same error as the size cap, with the
    // arguments back as for any error (the stack has room: they were on it).
    give_back(stack_, base, args, saved ? n : 0);
    fail(insufficient_memory, id);
  } catch (const Stop& stop) {
    // Not run, interrupted while computing (poll) or given no answer it can take: the
    // arguments stay as they were, also when a command it applied to an element is the
    // one not supported.
    if (stop.status == Outcome::Status::unsupported ||
        stop.status == Outcome::Status::interrupted || stop.status == Outcome::Status::bad_answer) {
      if (tagged)
        for (int k = 0; k < n; ++k) args[k] = std::move(as_given[static_cast<std::size_t>(k)]);
      give_back(stack_, base, args, n);
    }
    throw;
  }
}

// A command rplrun does not run stops the run; a structure word out of its structure is
// a syntax error.
void Machine::check_runnable(const CommandInfo& info, std::uint32_t id) {
  if (!info.supported || (!info.handler && info.word == Word::none)) stop_unsupported(id);
  if (info.word != Word::none) fail(invalid_syntax, id);
}

// A condition of the two-reals path: an error drops the arguments when they were not
// saved (flag -55), as the handler's path does.
void Machine::settle_on_reals(Condition condition, std::uint32_t id, bool saved) {
  try {
    flags.settle_condition(condition);
  } catch (RplError& error) {
    if (!saved) stack_.resize(stack_.size() - 2);
    error.command = id;
    throw;
  }
}

// Lists given to a function of numbers that does not take them stop the run as not
// supported, the arguments back on the stack. True when the tags of tagged arguments are
// to be dropped.
bool Machine::check_operands(const CommandInfo& info, std::uint32_t id, Object* args, int n) {
  bool tagged = false;
  bool joins = false;  // + with a list or a string takes the other object whole
  for (int k = 0; k < n; ++k) {
    joins = joins || args[k].is(Kind::list) || args[k].is(Kind::string);
    const Object* x = &args[k];
    while (x->is(Kind::tagged)) {
      tagged = true;
      x = &x->tagged_value();
    }
    if (x->is(Kind::list) && info.operands == Operands::numbers) {
      for (int j = 0; j < n; ++j) stack_.push_back(std::move(args[j]));
      stop_unsupported(id);
    }
  }
  return tagged && !(joins && info.operands == Operands::numbers_taking_lists);
}

// What computes the result: the array form, a symbolic result, the elements of lists
// one by one, or the handler.
void Machine::route(const CommandInfo& info, std::uint32_t id, Object* args, int n) {
  if (info.array_handler && takes_array_form(info, args, n)) {
    info.array_handler(*this, Args(args, n));
    return;
  }
  if (info.symbolic && build_symbolic(id, args, n)) return;
  const auto is_list = [](const Object& x) { return x.is(Kind::list); };
  if (info.operands == Operands::numbers_mapping_lists && std::any_of(args, args + n, is_list)) {
    push(apply_to_elements(*this, id, args, n));
    return;
  }
  if (info.unit_handler && takes_unit_form(args, n)) {
    info.unit_handler(*this, Args(args, n));
    return;
  }
  info.handler(*this, Args(args, n));
}

// A function of a name or an algebraic, its other arguments numbers: the algebraic of
// the function. False for other arguments.
bool Machine::build_symbolic(std::uint32_t id, Object* args, int n) {
  bool symbolic = false;
  bool numeric_or_symbolic = true;
  for (int k = 0; k < n; ++k) {
    symbolic = symbolic || args[k].is_symbolic();
    numeric_or_symbolic = numeric_or_symbolic &&
                          (args[k].is_symbolic() || args[k].is_number() || args[k].is(Kind::unit));
  }
  if (!symbolic || !numeric_or_symbolic) return false;
  if (!numeric() && grow_symbolic(id, args, n)) return true;
  Object result = build_algebraic(args, static_cast<std::size_t>(n), Object::command(id));
  // Flag -3 (or \->NUM): the function's value, its symbolic arguments evaluated
  // numerically.
  if (numeric())
    evaluate_numerically(result);
  else
    push(std::move(result));
  return true;
}

// An algebraic built step by step ('X' 1 +, or 1 'X' + put in front, again and again)
// grows in place when nothing else holds it. False when it cannot.
bool Machine::grow_symbolic(std::uint32_t id, Object* args, int n) {
  if (const auto grown = args[0].is(Kind::algebraic) ? growth(args[0]) : std::nullopt) {
    std::vector<Object> rest;
    for (int k = 1; k < n; ++k) append_operand(rest, args[k]);
    rest.push_back(Object::command(id));
    grown->append(rest.data(), rest.size());
    push(args[0]);
    return true;
  }
  Object& last = args[n - 1];
  if (const auto grown = n > 1 && last.is(Kind::algebraic) ? growth(last) : std::nullopt) {
    std::vector<Object> before;
    for (int k = 0; k + 1 < n; ++k) append_operand(before, args[k]);
    const Object op = Object::command(id);
    check_item_count(last.items().size() + before.size() + 1);
    grown->prepend(before.data(), before.size());
    grown->append(&op, 1);
    push(last);
    return true;
  }
  return false;
}

void Machine::run_command(std::uint32_t id) {
  const std::uint32_t asking = current_command_;
  struct Synchronous {
    int& count;
    explicit Synchronous(int& c) : count(c) { ++count; }
    ~Synchronous() { --count; }
  } synchronous{synchronous_};
  try {
    dispatch(id);
  } catch (const Stop& stop) {
    // Reported for the command the user wrote (STO+, not the + it applies).
    if (stop.status == Outcome::Status::unsupported && asking != no_command) unsupported_ = asking;
    throw;
  }
}

}  // namespace rplrun
