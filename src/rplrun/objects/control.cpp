#include "objects/control.h"

#include "objects/command_registry.h"

namespace rplrun {

Object make_program(std::vector<Object> items, std::vector<Position> positions,
                    std::vector<Control> control) {
  auto node = std::make_shared<ProgramNode>();
  set_nesting(*node, items);
  node->assign(std::move(items));
  node->positions = std::move(positions);
  node->control = std::move(control);
  return Object::from_node(Kind::program, std::move(node));
}

namespace {
Word word_of(const Object& item) {
  return item.is(Kind::command) ? command_info(item.command_id()).word : Word::none;
}
}  // namespace

StructureBuilder::Event StructureBuilder::add(const std::vector<Object>& items,
                                              std::vector<Control>& control) {
  const auto i = static_cast<std::uint32_t>(items.size() - 1);
  const Object& item = items[i];
  const Word word = word_of(item);
  Open* top = open_.empty() ? nullptr : &open_.back();
  auto set = [&](std::uint32_t index, ControlOp op, std::uint32_t target = 0) {
    control[index].op = op;
    control[index].target = target;
  };
  auto target = [&](std::uint32_t index, std::uint32_t where) { control[index].target = where; };
  auto state_is = [&](State s) { return top != nullptr && top->state == s; };

  if (state_is(State::for_name)) {
    if (!item.is(Kind::name) || item.is_quoted()) return Event::invalid;
    top->state = State::loop_body;
    return Event::for_name;
  }
  if (state_is(State::bind_names)) {
    if (item.is(Kind::name) && !item.is_quoted()) {
      ++top->mark;
      return Event::ok;
    }
    if ((item.is(Kind::program) || item.is(Kind::algebraic)) && top->mark > 0) {
      target(top->opener, top->mark);
      open_.pop_back();
      return Event::ok;
    }
    return Event::invalid;
  }
  if (word == Word::none) return Event::ok;
  any_ = true;

  switch (word) {
    case Word::if_:
      open_.push_back(opened(State::if_test, i));
      set(i, ControlOp::nop);
      return Event::ok;
    case Word::case_:
      open_.push_back(opened(State::case_test, i));
      set(i, ControlOp::nop);
      return Event::ok;
    case Word::iferr_:
      open_.push_back(opened(State::iferr_trap, i));
      set(i, ControlOp::iferr);
      return Event::ok;
    case Word::while_:
      open_.push_back(opened(State::while_test, i));
      set(i, ControlOp::nop);
      return Event::ok;
    case Word::do_:
      open_.push_back(opened(State::do_body, i));
      set(i, ControlOp::nop);
      return Event::ok;
    case Word::start_:
      open_.push_back(opened(State::loop_body, i));
      set(i, ControlOp::start);
      return Event::ok;
    case Word::for_:
      open_.push_back(opened(State::for_name, i, true));
      set(i, ControlOp::for_loop);
      return Event::ok;
    case Word::arrow_:
      open_.push_back(opened(State::bind_names, i));
      set(i, ControlOp::bind);
      return Event::ok;
    case Word::then_:
      if (state_is(State::if_test)) {
        top->state = State::if_then;
      } else if (state_is(State::case_test)) {
        top->state = State::case_clause;
      } else if (state_is(State::iferr_trap)) {
        target(top->opener, i + 1);
        top->state = State::iferr_then;
        top->mark = i;
        set(i, ControlOp::iferr_then);
        return Event::ok;
      } else {
        return Event::invalid;
      }
      top->mark = i;
      set(i, ControlOp::test);
      return Event::ok;
    case Word::else_:
      if (state_is(State::if_then)) {
        top->state = State::if_else;
      } else if (state_is(State::iferr_then)) {
        top->state = State::iferr_else;
      } else {
        return Event::invalid;
      }
      target(top->mark, i + 1);
      top->mark = i;
      set(i, ControlOp::jump);
      return Event::ok;
    case Word::repeat_:
      if (!state_is(State::while_test)) return Event::invalid;
      top->state = State::while_body;
      top->mark = i;
      set(i, ControlOp::test);
      return Event::ok;
    case Word::until_:
      if (!state_is(State::do_body)) return Event::invalid;
      top->state = State::do_test;
      set(i, ControlOp::nop);
      return Event::ok;
    case Word::next_:
    case Word::step_: {
      if (!state_is(State::loop_body)) return Event::invalid;
      const bool is_for = top->is_for;
      set(i, word == Word::next_ ? ControlOp::next : ControlOp::step,
          top->opener + (is_for ? 2 : 1));
      open_.pop_back();
      return is_for ? Event::closed_for : Event::ok;
    }
    case Word::end_:
      if (top == nullptr) return Event::invalid;
      switch (top->state) {
        case State::if_then:
        case State::if_else:
        case State::iferr_then:
        case State::iferr_else:
          target(top->mark, i);
          set(i, ControlOp::nop);
          break;
        case State::case_clause:
          target(top->mark, i + 1);
          set(i, ControlOp::jump);
          top->clause_ends.push_back(i);
          top->state = State::case_test;
          return Event::ok;
        case State::case_test:
          for (std::uint32_t end : top->clause_ends) target(end, i);
          set(i, ControlOp::nop);
          break;
        case State::while_body:
          target(top->mark, i + 1);
          set(i, ControlOp::jump, top->opener + 1);
          break;
        case State::do_test: set(i, ControlOp::until_end, top->opener + 1); break;
        default: return Event::invalid;
      }
      open_.pop_back();
      return Event::ok;
    default: return Event::invalid;
  }
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
