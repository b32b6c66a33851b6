#include "machine/machine.h"

#include <algorithm>
#include <new>

#include "machine/elementwise.h"
#include "numbers/real_functions.h"
#include "objects/algebraic.h"
#include "objects/command_registry.h"
#include "objects/elements.h"

namespace rplrun {

namespace {
std::atomic<bool> interrupt_flag{false};
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
}  // namespace

void request_interrupt() { interrupt_flag.store(true, std::memory_order_relaxed); }
void clear_interrupt() { interrupt_flag.store(false, std::memory_order_relaxed); }
bool interrupt_requested() { return interrupt_flag.load(std::memory_order_relaxed); }

struct Machine::Frame {
  std::shared_ptr<const Node> owner;  // keeps the items alive
  const Object* items = nullptr;
  const Position* positions = nullptr;
  const Control* control = nullptr;
  std::uint32_t ip = 0;
  std::uint32_t end = 0;
  Position origin;               // where it was called from
  const Symbol* name = nullptr;  // the global name it runs under
  std::uint32_t locals_base = 0;
  std::uint32_t loops_base = 0;
  std::uint32_t handlers_base = 0;
  bool numeric = false;
  bool run_programs = false;
  bool algebraic = false;
  bool command_object = false;  // a command object being evaluated (its one-item program)
  std::uint32_t command = no_command;  // a continuation's command
  std::unique_ptr<Continuation> continuation;
};

Machine::Machine() = default;
Machine::~Machine() = default;

// ---- data stack

Object Machine::pop() {
  if (stack_.empty()) fail(too_few_arguments);
  Object top = std::move(stack_.back());
  stack_.pop_back();
  return top;
}

void Machine::require(std::size_t n) const {
  if (stack_.size() < n) fail(too_few_arguments);
}

std::vector<Object> Machine::take(std::size_t n) {
  require(n);
  if (n == stack_.size() && stack_.capacity() <= 2 * n + 16) {
    std::vector<Object> all;
    all.swap(stack_);
    return all;
  }
  const auto first = stack_.end() - static_cast<std::ptrdiff_t>(n);
  std::vector<Object> top(std::make_move_iterator(first), std::make_move_iterator(stack_.end()));
  stack_.erase(first, stack_.end());
  return top;
}

// ---- LASTARG

const std::vector<Object>& Machine::last_arguments() {
  if (last_arg_seen_) {
    Object& x = last_args_[last_arg_seen_->index];
    x = as_it_was(x, last_arg_seen_->seen);
    last_arg_seen_.reset();
  }
  return last_args_;
}

void Machine::set_last_arguments(std::vector<Object> args) {
  last_args_ = std::move(args);
  last_arg_seen_.reset();
}

std::optional<Growth> Machine::growth(const Object& x) {
  if (!x.is(Kind::string) && !x.is(Kind::list) && !x.is(Kind::algebraic)) return std::nullopt;
  if (!x.is(Kind::string) && !x.positions().empty()) return std::nullopt;
  const Node* node = x.node();
  // Every holder but the argument itself must be one that can be told what it saw.
  long others = x.holders() - 1;
  std::optional<std::size_t> in_last_args;
  for (std::size_t k = 0; k < last_args_.size(); ++k) {
    if (last_args_[k].node() != node) continue;
    if (in_last_args || (last_arg_seen_ && last_arg_seen_->index != k)) return std::nullopt;
    in_last_args = k;
    --others;
  }
  // A variable, when looking among them costs less than the copy it saves:
  // 'L' 1 STO+ and L 1 + 'L' STO grow the list in place.
  Variable* variable = nullptr;
  if (others == 1) {
    const Extent size = extent_of(x);
    if (size.length < locals_.size() + globals_.size()) return std::nullopt;
    for (LocalSlot& slot : locals_) {
      if (slot.variable.value.node() != node) continue;
      if (variable) return std::nullopt;
      variable = &slot.variable;
    }
    for (auto& [name, global] : globals_) {
      if (global.value.node() != node) continue;
      if (variable) return std::nullopt;
      variable = &global;
    }
    if (variable) --others;
  }
  if (others != 0) return std::nullopt;
  auto growth = x.growth((in_last_args ? 1 : 0) + (variable ? 1 : 0));
  if (!growth) return std::nullopt;
  // From now on it only grows: what the others saw stays a run of its items.
  const Extent now = extent_of(x);
  if (in_last_args && !last_arg_seen_) last_arg_seen_ = SeenArgument{*in_last_args, now};
  if (variable && !variable->seen) variable->seen = now;
  return growth;
}

// ---- variables

const Object* Machine::global(const Symbol* name) const {
  const auto found = globals_.find(name);
  return found == globals_.end() ? nullptr : &found->second.settled();
}

void Machine::store_global(const Symbol* name, Object value) {
  const auto [it, inserted] = globals_.insert_or_assign(name, Variable{std::move(value), {}});
  if (inserted) global_order_.push_back(name);
}

bool Machine::purge_global(const Symbol* name) {
  if (globals_.erase(name) == 0) return false;
  global_order_.erase(std::find(global_order_.begin(), global_order_.end(), name));
  return true;
}

void Machine::clear_globals() {
  globals_.clear();
  global_order_.clear();
}

std::vector<const Symbol*> Machine::global_names() const {
  return std::vector<const Symbol*>(global_order_.rbegin(), global_order_.rend());
}

Machine::Variable* Machine::local_variable(const Symbol* name, bool index_only) {
  if (index_only && index_count_ == 0) return nullptr;
  for (auto it = locals_.rbegin(); it != locals_.rend(); ++it) {
    if (it->name == name && (it->index || !index_only)) return &it->variable;
  }
  return nullptr;
}

Object* Machine::local(const Symbol* name) {
  Variable* v = local_variable(name, false);
  return v ? &v->settled() : nullptr;
}

Object* Machine::variable(const Object& name) {
  if (name.is_local()) {
    Object* value = local(name.symbol());
    if (!value) fail(undefined_local_name);
    return value;
  }
  if (Object* index = index_local(name.symbol())) return index;
  const auto found = globals_.find(name.symbol());
  return found == globals_.end() ? nullptr : &found->second.settled();
}

void Machine::store(const Object& name, Object value) {
  // What the variable held is not needed: it is not made again.
  Variable* slot = local_variable(name.symbol(), !name.is_local());
  if (name.is_local() && !slot) fail(undefined_local_name);
  if (slot) {
    *slot = Variable{std::move(value), {}};
    return;
  }
  store_global(name.symbol(), std::move(value));
}

void Machine::bind_index(const Symbol* name, Object value) {
  locals_.push_back({name, {std::move(value), {}}, true});
  ++index_count_;
}

Object* Machine::index_local(const Symbol* name) {
  Variable* v = local_variable(name, true);
  return v ? &v->settled() : nullptr;
}

void Machine::truncate_locals(std::size_t size) {
  if (size >= locals_.size()) return;
  if (index_count_ != 0) {
    for (std::size_t k = size; k < locals_.size(); ++k) index_count_ -= locals_[k].index ? 1 : 0;
  }
  locals_.resize(size);
}

// ---- frames

void Machine::push_frame(const Object& sequence, const Symbol* name, bool numeric,
                         bool run_programs) {
  if (synchronous_ != 0) not_supported();
  const Position origin = frames_.empty() ? Position{} : current_position();
  // A command object that evaluates another object as its last act (EVAL, IFT) hands
  // its place over: a long chain of them runs in constant depth, as on the calculator.
  if (!frames_.empty()) {
    const Frame& top = frames_.back();
    if (top.command_object && top.ip >= top.end && top.locals_base == locals_.size() &&
        top.loops_base == loops_.size() && top.handlers_base == handlers_.size())
      pop_frame();
  }
  if (frames_.size() >= limits.max_depth) fail(insufficient_memory);
  Frame frame;
  frame.owner = sequence.shared_node();
  const auto& node = sequence.node_as<SequenceNode>();
  frame.items = node.items().data();
  frame.end = static_cast<std::uint32_t>(node.size());
  if (!node.positions.empty()) frame.positions = node.positions.data();
  if (sequence.is(Kind::program)) {
    const auto& program = sequence.node_as<ProgramNode>();
    if (!program.control.empty()) frame.control = program.control.data();
  }
  frame.origin = origin;
  frame.name = name;
  frame.locals_base = static_cast<std::uint32_t>(locals_.size());
  frame.loops_base = static_cast<std::uint32_t>(loops_.size());
  frame.handlers_base = static_cast<std::uint32_t>(handlers_.size());
  frame.numeric = numeric;
  frame.run_programs = run_programs;
  frame.algebraic = sequence.is(Kind::algebraic);
  frames_.push_back(std::move(frame));
}

void Machine::pop_frame() {
  Frame& frame = frames_.back();
  truncate_locals(frame.locals_base);
  loops_.resize(frame.loops_base);
  handlers_.resize(frame.handlers_base);
  frames_.pop_back();
}

bool Machine::numeric() const {
  return flags.numeric_results() || (!frames_.empty() && frames_.back().numeric);
}

void Machine::start_continuation(std::unique_ptr<Continuation> continuation) {
  if (synchronous_ != 0) not_supported();
  if (frames_.size() >= limits.max_depth) fail(insufficient_memory);
  Frame frame;
  frame.origin = current_position();
  frame.command = frames_.empty() ? no_command : current_command_;
  frame.locals_base = static_cast<std::uint32_t>(locals_.size());
  frame.loops_base = static_cast<std::uint32_t>(loops_.size());
  frame.handlers_base = static_cast<std::uint32_t>(handlers_.size());
  frame.numeric = numeric();
  frame.continuation = std::move(continuation);
  frames_.push_back(std::move(frame));
}

Continuation* Machine::find_continuation(bool (*match)(const Continuation&)) {
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
    if (it->continuation && match(*it->continuation)) return it->continuation.get();
  }
  return nullptr;
}

void Machine::not_supported() {
  unsupported_ = current_command_;
  throw Stop{Outcome::Status::unsupported};
}

Position Machine::frame_position(std::size_t i) const {
  const Frame& f = frames_[i];
  if (f.continuation || f.ip == 0 || !f.positions) return f.origin;
  return f.positions[f.ip - 1];
}

Position Machine::current_position() const {
  return frames_.empty() ? Position{} : frame_position(frames_.size() - 1);
}

// ---- evaluation

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

void Machine::execute_name(const Object& name) {
  const Symbol* symbol = name.symbol();
  const Object* local_value = name.is_local() ? local(symbol) : index_local(symbol);
  if (name.is_local() && !local_value) fail(undefined_local_name);
  if (local_value) {
    if (numeric() && local_value->is_symbolic()) {
      evaluate_numerically(*local_value);
      return;
    }
    push(*local_value);
    return;
  }
  for (;;) {
    const Object* value = global(symbol);
    if (!value) {
      if (numeric()) fail(undefined_name);
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
        continue;
      case Kind::algebraic:
        if (numeric()) {
          push_frame(*value, nullptr, true);
          return;
        }
        push(*value);
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
    if (const auto id = find_command(symbol->text());
        id &&
        (!command_info(*id).supported || command_info(*id).algebra.notation == Notation::kept)) {
      unsupported_ = *id;
      throw Stop{Outcome::Status::unsupported};
    }
  }
  require(argc);
  const Object* value = call.is_local() ? local(symbol) : global(symbol);
  if (!value) {
    if (call.is_local()) fail(undefined_local_name);
    if (numeric()) fail(undefined_name);
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
    if (stop.status == Outcome::Status::unsupported && asking != no_command)
      unsupported_ = asking;
    throw;
  }
}

namespace {
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
}  // namespace

void Machine::dispatch(std::uint32_t id) {
  const CommandInfo& info = command_info(id);
  if (!info.supported || (!info.handler && info.word == Word::none)) {
    unsupported_ = id;
    throw Stop{Outcome::Status::unsupported};
  }
  if (info.word != Word::none) fail(invalid_syntax, id);
  const int n = info.argc;
  if (info.on_reals && stack_.size() >= 2) {
    Object& x = stack_[stack_.size() - 2];
    const Object& y = stack_.back();
    if (x.is(Kind::real) && y.is(Kind::real)) {
      // The arithmetic of loops: the same as the handler's, with the arguments left in
      // place until the result replaces them (or an error drops them, flag -55 set).
      const bool saved = flags.saves_last_args();
      if (saved) {
        last_args_.resize(2);
        last_args_[0] = x;
        last_args_[1] = y;
        last_arg_seen_.reset();
      }
      try {
        x = Object::real(flags.settle(info.on_reals(x.as_real(), y.as_real())));
      } catch (RplError& error) {
        if (!saved) stack_.resize(stack_.size() - 2);
        error.command = id;
        throw;
      }
      stack_.pop_back();
      return;
    }
  }
  if (stack_.size() < static_cast<std::size_t>(n)) fail(too_few_arguments, id);
  const std::size_t base = stack_.size() - static_cast<std::size_t>(n);
  ArgBuffer args(stack_.data() + base, n);
  stack_.resize(base);
  if (info.operands != Operands::any) {
    for (int k = 0; k < n; ++k) {
      const Kind kind = args[k].kind();
      if (kind == Kind::tagged || (kind == Kind::list && info.operands == Operands::numbers)) {
        for (int j = 0; j < n; ++j) stack_.push_back(std::move(args[j]));
        unsupported_ = id;
        throw Stop{Outcome::Status::unsupported};
      }
    }
  }
  // With flag -55 set the arguments are not saved, and an error does not bring them back.
  const bool saved = n > 0 && flags.saves_last_args();
  if (saved) {
    last_args_.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) last_args_[static_cast<std::size_t>(k)] = args[k];
    last_arg_seen_.reset();
  }
  const std::uint32_t outer_command = current_command_;
  current_command_ = id;
  // An error gives the arguments back (flag -55 clear), its partial results dropped.
  const auto restore_arguments = [&] {
    current_command_ = outer_command;
    if (stack_.size() > base) stack_.resize(base);
    if (saved) {
      for (int k = 0; k < n; ++k) stack_.push_back(std::move(args[k]));
    }
  };
  try {
    if (info.array_handler && takes_array_form(info, args.data(), n)) {
      info.array_handler(*this, Args(args.data(), n));
      current_command_ = outer_command;
      return;
    }
    if (info.symbolic) {
      bool symbolic = false;
      bool numeric_or_symbolic = true;
      for (int k = 0; k < n; ++k) {
        symbolic = symbolic || args[k].is_symbolic();
        numeric_or_symbolic = numeric_or_symbolic && (args[k].is_symbolic() || args[k].is_number());
      }
      if (symbolic && numeric_or_symbolic) {
        // An algebraic built step by step ('X' 1 +, or 1 'X' + put in front, again and
        // again) grows in place.
        if (!numeric()) {
          if (const auto grown = args[0].is(Kind::algebraic) ? growth(args[0]) : std::nullopt) {
            std::vector<Object> rest;
            for (int k = 1; k < n; ++k) append_operand(rest, args[k]);
            rest.push_back(Object::command(id));
            grown->append(rest.data(), rest.size());
            push(args[0]);
            current_command_ = outer_command;
            return;
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
            current_command_ = outer_command;
            return;
          }
        }
        Object result =
            build_algebraic(args.data(), static_cast<std::size_t>(n), Object::command(id));
        // Flag -3 (or \->NUM): the function's value, its symbolic arguments evaluated
        // numerically.
        if (numeric())
          evaluate_numerically(result);
        else
          push(std::move(result));
        current_command_ = outer_command;
        return;
      }
    }
    const auto is_list = [](const Object& x) { return x.is(Kind::list); };
    if (info.operands == Operands::numbers_mapping_lists &&
        std::any_of(args.data(), args.data() + n, is_list)) {
      push(apply_to_elements(*this, id, args.data(), n));
    } else {
      info.handler(*this, Args(args.data(), n));
    }
  } catch (RplError& error) {
    restore_arguments();
    if (!error.command) error.command = id;
    throw;
  } catch (const std::bad_alloc&) {
    // Memory that the system refuses is the same error as the size cap, with the
    // arguments back as for any error (the stack has room: they were on it).
    restore_arguments();
    fail(insufficient_memory, id);
  } catch (const Stop& stop) {
    current_command_ = outer_command;
    if (stop.status == Outcome::Status::unsupported ||
        stop.status == Outcome::Status::interrupted) {
      // Not run, or interrupted while computing (poll): the arguments stay as they were,
      // also when a command it applied to an element is the one not supported.
      if (stack_.size() > base) stack_.resize(base);
      for (int k = 0; k < n; ++k) stack_.push_back(std::move(args[k]));
    }
    throw;
  }
  current_command_ = outer_command;
}

bool Machine::take_test(std::uint32_t command) {
  if (stack_.empty()) fail(too_few_arguments, command);
  const Object& test = stack_.back();
  if (!test.is(Kind::real)) fail(bad_argument_type, command);
  const bool result = !test.as_real().is_zero();
  stack_.pop_back();
  return result;
}

void Machine::control_op(std::size_t fi, const Object& item, std::uint32_t index) {
  const Control& c = frames_[fi].control[index];
  const std::uint32_t command = item.command_id();
  auto take_bounds = [&](Object& start, Object& end) {
    if (stack_.size() < 2) fail(too_few_arguments, command);
    if (!level(1).is(Kind::real) || !level(2).is(Kind::real)) fail(bad_argument_type, command);
    end = pop();
    start = pop();
  };
  switch (c.op) {
    case ControlOp::none:
    case ControlOp::nop: return;
    case ControlOp::test:
    case ControlOp::until_end:
      if (!take_test(command)) frames_[fi].ip = c.target;
      return;
    case ControlOp::jump: frames_[fi].ip = c.target; return;
    case ControlOp::iferr:
      handlers_.push_back({static_cast<std::uint32_t>(fi), c.target,
                           static_cast<std::uint32_t>(locals_.size()),
                           static_cast<std::uint32_t>(loops_.size())});
      return;
    case ControlOp::iferr_then:
      handlers_.pop_back();
      frames_[fi].ip = c.target;
      return;
    case ControlOp::start: {
      Object start;
      Object end;
      take_bounds(start, end);
      loops_.push_back({index + 1, -1, std::move(start), std::move(end)});
      return;
    }
    case ControlOp::for_loop: {
      Object start;
      Object end;
      take_bounds(start, end);
      const auto slot = static_cast<std::int32_t>(locals_.size());
      locals_.push_back({frames_[fi].items[index + 1].symbol(), {std::move(start), {}}});
      loops_.push_back({index + 2, slot, Object(), std::move(end)});
      frames_[fi].ip = index + 2;
      return;
    }
    case ControlOp::next:
    case ControlOp::step: {
      Real increment = Real::from_int64(1);
      if (c.op == ControlOp::step) {
        if (stack_.empty()) fail(too_few_arguments, command);
        if (!level(1).is(Kind::real)) fail(bad_argument_type, command);
        increment = pop().as_real();
      }
      Loop& loop = loops_.back();
      Object& counter =
          loop.slot >= 0 ? locals_[static_cast<std::size_t>(loop.slot)].variable.settled()
                         : loop.counter;
      if (!counter.is(Kind::real)) fail(bad_argument_type, command);
      const Real next = flags.settle(add(counter.as_real(), increment));
      const Real end = loop.end.as_real();
      const bool again = increment.is_negative() ? next >= end : next <= end;
      if (again) {
        counter = Object::real(next);
        frames_[fi].ip = loop.body;
        return;
      }
      if (loop.slot >= 0) truncate_locals(static_cast<std::size_t>(loop.slot));
      loops_.pop_back();
      return;
    }
    case ControlOp::bind: {
      const std::uint32_t n = c.target;
      if (stack_.size() < n) fail(too_few_arguments, command);
      Frame& frame = frames_[fi];
      const std::size_t base = stack_.size() - n;
      const auto locals_base = static_cast<std::uint32_t>(locals_.size());
      for (std::uint32_t k = 0; k < n; ++k) {
        locals_.push_back(
            {frame.items[index + 1 + k].symbol(), {std::move(stack_[base + k]), {}}});
      }
      stack_.resize(base);
      const Object& body = frame.items[index + 1 + n];
      frame.ip = index + n + 2;
      push_frame(body, nullptr, numeric());
      frames_.back().locals_base = locals_base;
      return;
    }
  }
}

void Machine::execute(std::size_t fi, const Object& item, std::uint32_t index) {
  switch (item.kind()) {
    case Kind::name:
      if (item.is_quoted()) {
        push(item.unquoted());
        return;
      }
      if (watchers.undefined_name && !item.is_local() && !frames_[fi].algebraic &&
          !global(item.symbol())) {
        watchers.undefined_name(current_position(), item);
      }
      execute_name(item);
      return;
    case Kind::command:
      if (frames_[fi].control && frames_[fi].control[index].op != ControlOp::none) {
        control_op(fi, item, index);
        return;
      }
      dispatch(item.command_id());
      return;
    case Kind::call: execute_call(item); return;
    case Kind::program:
      if (frames_[fi].run_programs) {
        push_frame(item, nullptr, numeric());
        return;
      }
      push(item);
      return;
    default: push(item); return;
  }
}

void Machine::check_limits() {
  if (interrupt_flag.load(std::memory_order_relaxed) ||
      (limits.max_steps != 0 && steps_ > limits.max_steps)) [[unlikely]]
    throw Stop{Outcome::Status::interrupted};
}

void Machine::stop(Outcome::Status status) { throw Stop{status}; }

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
  const auto handlers = static_cast<std::uint32_t>(handlers_.size());
  for (Frame& f : program.frames) {
    f.locals_base += locals;
    f.loops_base += loops;
    f.handlers_base += handlers;
    frames_.push_back(std::move(f));
  }
  for (LocalSlot& slot : program.locals) locals_.push_back(std::move(slot));
  for (Loop& loop : program.loops) {
    if (loop.slot >= 0) loop.slot += static_cast<std::int32_t>(locals);
    loops_.push_back(std::move(loop));
  }
  for (Handler& h : program.handlers) {
    h.frame += frames;
    h.locals += locals;
    h.loops += loops;
    handlers_.push_back(h);
  }
}

bool Machine::catch_error(const RplError& error) {
  error_number = error.number;
  error_text = error.message;
  if (handlers_.empty()) return false;
  const Handler h = handlers_.back();
  handlers_.pop_back();
  while (frames_.size() > h.frame + 1) frames_.pop_back();
  truncate_locals(h.locals);
  loops_.resize(h.loops);
  frames_[h.frame].ip = h.catch_ip;
  return true;
}

void Machine::fill_error(Outcome& outcome, const RplError& error) {
  outcome.error = error;
  if (error.command && error.names_command) outcome.command = command_info(*error.command).name;
  outcome.where = current_position();
  for (std::size_t i = frames_.size(); i-- > 1;) {
    if (frames_[i].name) outcome.chain.emplace_back(frames_[i].name, frame_position(i - 1));
  }
}

Outcome Machine::run(const Object& body, bool run_programs) {
  Outcome outcome;
  current_command_ = no_command;
  push_frame(body, nullptr, false, run_programs);
  while (!frames_.empty()) {
    try {
      Frame& frame = frames_.back();
      if (frame.continuation) {
        // Each resumption is a step: a command that runs an object which pushes no frame
        // of its own ('X' 1 1E15 1 SEQ) is bounded like any loop.
        ++steps_;
        check_limits();
        const std::size_t index = frames_.size() - 1;
        current_command_ = frame.command;
        if (frames_[index].continuation->resume(*this)) {
          while (frames_.size() > index) pop_frame();
        }
        current_command_ = no_command;
        continue;
      }
      if (frame.ip >= frame.end) {
        pop_frame();
        continue;
      }
      const std::uint32_t index = frame.ip++;
      ++steps_;
      check_limits();
      // The item stays alive while its frame's owner does, even if frames_ grows.
      const Object& item = frame.items[index];
      if (watchers.evaluated) {
        const Position where = current_position();
        const Object traced = item;
        execute(frames_.size() - 1, item, index);
        watchers.evaluated(where, traced);
        continue;
      }
      execute(frames_.size() - 1, item, index);
    } catch (const RplError& error) {
      if (catch_error(error)) continue;
      outcome.status = Outcome::Status::error;
      fill_error(outcome, error);
      break;
    } catch (const std::bad_alloc&) {
      const RplError error = error_of(insufficient_memory);
      if (catch_error(error)) continue;
      outcome.status = Outcome::Status::error;
      fill_error(outcome, error);
      break;
    } catch (const Stop& stop) {
      outcome.status = stop.status;
      outcome.where = current_position();
      if (stop.status == Outcome::Status::unsupported && unsupported_) {
        outcome.command = command_info(*unsupported_).name;
      }
      for (std::size_t i = frames_.size(); i-- > 1;) {
        if (frames_[i].name) outcome.chain.emplace_back(frames_[i].name, frame_position(i - 1));
      }
      if (stop.status == Outcome::Status::halted) {
        halted_.push_back(
            {std::move(frames_), std::move(locals_), std::move(loops_), std::move(handlers_)});
      }
      break;
    }
  }
  frames_.clear();
  truncate_locals(0);
  loops_.clear();
  handlers_.clear();
  current_command_ = no_command;
  return outcome;
}

}  // namespace rplrun
