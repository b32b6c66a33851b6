#include "objects/control.h"

#include "objects/command_registry.h"

namespace rplrun {

namespace {
Step step_of(const Object& item, ControlOp op) {
  switch (op) {
    case ControlOp::none: break;
    case ControlOp::nop: return Step::nop;
    case ControlOp::jump: return Step::jump;
    case ControlOp::test: return Step::test;
    default: return Step::structure;
  }
  switch (item.kind()) {
    case Kind::name:
      if (item.is_quoted()) return Step::push_name;
      return item.is_local() ? Step::local_name : Step::global_name;
    case Kind::command:
      return command_info(item.command_id()).on_reals ? Step::command_on_reals : Step::command;
    case Kind::call: return Step::call;
    case Kind::program: return Step::program;
    default: return Step::push;
  }
}

// A plain real, or a local name, as the second operand of a local_operation.
bool is_operand(const Object& item, Step step) {
  return step == Step::local_name || (step == Step::push && item.is(Kind::real));
}

// Marks the local names that start a local_operation. Nothing jumps to the second or
// third item of one: jumps land after structure words, and neither item follows one.
void mark_local_operations(const std::vector<Object>& items, std::vector<Control>& control) {
  for (std::size_t i = 0; i + 2 < items.size(); ++i) {
    if (control[i].step == Step::local_name && is_operand(items[i + 1], control[i + 1].step) &&
        control[i + 2].step == Step::command_on_reals)
      control[i].step = Step::local_operation;
  }
}
}  // namespace

Object make_program(std::vector<Object> items, std::vector<Position> positions,
                    std::vector<Control> control) {
  auto node = std::make_shared<ProgramNode>();
  set_nesting(*node, items);
  control.resize(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) control[i].step = step_of(items[i], control[i].op);
  mark_local_operations(items, control);
  node->assign(std::move(items));
  node->positions = std::move(positions);
  node->control = std::move(control);
  return Object::from_node(Kind::program, std::move(node));
}

namespace {
Word word_of(const Object& item) {
  return item.is(Kind::command) ? command_info(item.command_id()).word : Word::none;
}

void set(std::vector<Control>& control, std::uint32_t index, ControlOp op,
         std::uint32_t target = 0) {
  control[index] = {target, op};
}
}  // namespace

StructureBuilder::Event StructureBuilder::add(const std::vector<Object>& items,
                                              std::vector<Control>& control) {
  const auto i = static_cast<std::uint32_t>(items.size() - 1);
  const Object& item = items[i];
  if (in(State::for_name)) return for_name(item);
  if (in(State::bind_names)) return bind_name(item, control);
  const Word word = word_of(item);
  if (word == Word::none) return Event::ok;
  any_ = true;
  switch (word) {
    case Word::if_: return open(State::if_test, ControlOp::nop, i, control);
    case Word::case_: return open(State::case_test, ControlOp::nop, i, control);
    case Word::iferr_: return open(State::iferr_trap, ControlOp::iferr, i, control);
    case Word::while_: return open(State::while_test, ControlOp::nop, i, control);
    case Word::do_: return open(State::do_body, ControlOp::nop, i, control);
    case Word::start_: return open(State::loop_body, ControlOp::start, i, control);
    case Word::for_: return open(State::for_name, ControlOp::for_loop, i, control);
    case Word::arrow_: return open(State::bind_names, ControlOp::bind, i, control);
    case Word::then_: return then_word(i, control);
    case Word::else_: return else_word(i, control);
    case Word::repeat_: return repeat_word(i, control);
    case Word::until_: return until_word(i, control);
    case Word::next_:
    case Word::step_: return next_word(word == Word::step_, i, control);
    case Word::end_: return end_word(i, control);
    case Word::none: break;
  }
  return Event::invalid;
}

StructureBuilder::Event StructureBuilder::open(State state, ControlOp op, std::uint32_t i,
                                               Controls& control) {
  open_.push_back({state, i, 0, state == State::for_name, {}});
  set(control, i, op);
  return Event::ok;
}

// FOR's counter: a name, unquoted.
StructureBuilder::Event StructureBuilder::for_name(const Object& item) {
  if (!item.is(Kind::name) || item.is_quoted()) return Event::invalid;
  open_.back().state = State::loop_body;
  return Event::for_name;
}

// \->: names, then the program or algebraic they are bound for.
StructureBuilder::Event StructureBuilder::bind_name(const Object& item, Controls& control) {
  Open& top = open_.back();
  if (item.is(Kind::name) && !item.is_quoted()) {
    ++top.mark;
    return Event::ok;
  }
  if ((item.is(Kind::program) || item.is(Kind::algebraic)) && top.mark > 0) {
    control[top.opener].target = top.mark;
    open_.pop_back();
    return Event::ok;
  }
  return Event::invalid;
}

// IF and CASE: the test is taken here. IFERR: the trap ends, and its error clause is
// skipped.
StructureBuilder::Event StructureBuilder::then_word(std::uint32_t i, Controls& control) {
  if (in(State::iferr_trap)) {
    Open& top = open_.back();
    control[top.opener].target = i + 1;
    top.state = State::iferr_then;
    top.mark = i;
    set(control, i, ControlOp::iferr_then);
    return Event::ok;
  }
  if (!in(State::if_test) && !in(State::case_test)) return Event::invalid;
  Open& top = open_.back();
  top.state = top.state == State::if_test ? State::if_then : State::case_clause;
  top.mark = i;
  set(control, i, ControlOp::test);
  return Event::ok;
}

// The false test of IF's THEN (or IFERR's error clause) comes here; the true one jumps
// over.
StructureBuilder::Event StructureBuilder::else_word(std::uint32_t i, Controls& control) {
  if (!in(State::if_then) && !in(State::iferr_then)) return Event::invalid;
  Open& top = open_.back();
  top.state = top.state == State::if_then ? State::if_else : State::iferr_else;
  control[top.mark].target = i + 1;
  top.mark = i;
  set(control, i, ControlOp::jump);
  return Event::ok;
}

StructureBuilder::Event StructureBuilder::repeat_word(std::uint32_t i, Controls& control) {
  if (!in(State::while_test)) return Event::invalid;
  open_.back().state = State::while_body;
  open_.back().mark = i;
  set(control, i, ControlOp::test);
  return Event::ok;
}

StructureBuilder::Event StructureBuilder::until_word(std::uint32_t i, Controls& control) {
  if (!in(State::do_body)) return Event::invalid;
  open_.back().state = State::do_test;
  set(control, i, ControlOp::nop);
  return Event::ok;
}

// NEXT and STEP close START (its body after the word) or FOR (after the counter's name).
StructureBuilder::Event StructureBuilder::next_word(bool step, std::uint32_t i, Controls& control) {
  if (!in(State::loop_body)) return Event::invalid;
  const Open& top = open_.back();
  const bool is_for = top.is_for;
  set(control, i, step ? ControlOp::step : ControlOp::next, top.opener + (is_for ? 2 : 1));
  open_.pop_back();
  return is_for ? Event::closed_for : Event::ok;
}

// END closes IF, IFERR, a CASE clause or CASE itself, WHILE and DO.
StructureBuilder::Event StructureBuilder::end_word(std::uint32_t i, Controls& control) {
  if (open_.empty()) return Event::invalid;
  Open& top = open_.back();
  switch (top.state) {
    case State::if_then:
    case State::if_else:
    case State::iferr_then:
    case State::iferr_else:
      control[top.mark].target = i;
      set(control, i, ControlOp::nop);
      break;
    case State::case_clause:
      // The clause done, the rest of the CASE is skipped; the next clause's test follows.
      control[top.mark].target = i + 1;
      set(control, i, ControlOp::jump);
      top.clause_ends.push_back(i);
      top.state = State::case_test;
      return Event::ok;
    case State::case_test:
      for (std::uint32_t end : top.clause_ends) control[end].target = i;
      set(control, i, ControlOp::nop);
      break;
    case State::while_body:
      control[top.mark].target = i + 1;
      set(control, i, ControlOp::jump, top.opener + 1);
      break;
    case State::do_test: set(control, i, ControlOp::until_end, top.opener + 1); break;
    default: return Event::invalid;
  }
  open_.pop_back();
  return Event::ok;
}

std::optional<std::size_t> StructureBuilder::unclosed() const {
  if (open_.empty()) return std::nullopt;
  return open_.back().opener;
}

std::optional<std::vector<Control>> resolve_structures(std::span<const Object> items) {
  StructureBuilder builder;
  std::vector<Object> seen;
  std::vector<Control> control;
  seen.reserve(items.size());
  control.reserve(items.size());
  for (const Object& item : items) {
    seen.push_back(item);
    control.emplace_back();
    if (builder.add(seen, control) == StructureBuilder::Event::invalid) return std::nullopt;
  }
  if (builder.unclosed()) return std::nullopt;
  if (!builder.any()) control.clear();
  return control;
}

}  // namespace rplrun
