// Program structures (IF, CASE, IFERR, WHILE, DO, START, FOR, \->) resolved once, when a
// program is read: each structure word gets what it does at run time and where it jumps,
// so that running a loop never searches the program for its END.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "objects/object.h"

namespace rplrun {

enum class ControlOp : std::uint8_t {
  none,        // an ordinary item
  nop,         // IF, CASE, WHILE, DO, UNTIL, the END that closes IF/CASE/IFERR
  test,        // THEN (IF, CASE) and REPEAT: take a test; false: go to target
  jump,        // ELSE, a CASE clause's END, WHILE's END: go to target
  iferr,       // IFERR: an error from here on resumes at target
  iferr_then,  // IFERR's THEN reached without error: go to target
  until_end,   // DO's END: take a test; false: go to target
  start,       // START: take start and end
  for_loop,    // FOR: take start and end into the local named by the next item
  next,        // NEXT
  step,        // STEP: take the increment
  bind,        // \->: target is the number of names that follow; the body comes after
};

// What an item of a program does when it runs, worked out when the program is made:
// the evaluator's loop then makes one choice per item among these few, in place of
// asking the item's kind, its flags and its structure word in turn.
enum class Step : std::uint8_t {
  push,        // pushed as it is
  push_name,   // a quoted name: the name pushed
  local_name,  // its value
  // A local name, then a real or another local name, then a command with a two-reals
  // path (n 1 -, n 2 <): the three at once when both values are reals, else the local
  // name alone.
  local_operation,
  global_name,       // its variable evaluated
  call,              // f(a,b): a user function's call or an element
  program,           // pushed, or run among a file's objects
  command,           // a built-in command
  command_on_reals,  // one with a two-reals path, tried first
  nop,               // the structure words as their ControlOp says
  jump,
  test,
  structure,  // the other structure words
};

struct Control {
  std::uint32_t target = 0;
  ControlOp op = ControlOp::none;
  Step step = Step::push;
};

struct ProgramNode : SequenceNode {
  std::vector<Control> control;  // beside the items, one each
};

// A program of these items; `control` as the reader resolved it, or empty when they
// hold no structure. Each item's step is set here.
Object make_program(std::vector<Object> items, std::vector<Position> positions,
                    std::vector<Control> control);

// Follows a sequence of items as they are read and resolves its structures.
class StructureBuilder {
 public:
  enum class Event { ok, invalid, for_name, closed_for };

  // The item just appended to `items` (at items.size()-1). On `invalid` the item does
  // not fit the structure being read.
  Event add(const std::vector<Object>& items, std::vector<Control>& control);
  // At the end of the sequence: the index of the first structure left open, if any.
  std::optional<std::size_t> unclosed() const;
  bool any() const { return any_; }

 private:
  enum class State : std::uint8_t {
    if_test,
    if_then,
    if_else,
    case_test,
    case_clause,
    case_after,
    iferr_trap,
    iferr_then,
    iferr_else,
    while_test,
    while_body,
    do_body,
    do_test,
    loop_body,  // START or FOR
    for_name,
    bind_names,
  };
  struct Open {
    State state;
    std::uint32_t opener;    // index of the opening word
    std::uint32_t mark = 0;  // THEN or ELSE index as needed; \->: the names so far
    bool is_for = false;
    std::vector<std::uint32_t> clause_ends;  // CASE clause ENDs waiting for the final END
  };
  using Controls = std::vector<Control>;

  // One function per structure word, `i` its index; the names after FOR and \->.
  Event open(State state, ControlOp op, std::uint32_t i, Controls& control);
  Event then_word(std::uint32_t i, Controls& control);
  Event else_word(std::uint32_t i, Controls& control);
  Event repeat_word(std::uint32_t i, Controls& control);
  Event until_word(std::uint32_t i, Controls& control);
  Event next_word(bool step, std::uint32_t i, Controls& control);
  Event end_word(std::uint32_t i, Controls& control);
  Event for_name(const Object& item);
  Event bind_name(const Object& item, Controls& control);
  // Whether the innermost open structure is in that state.
  bool in(State state) const { return !open_.empty() && open_.back().state == state; }

  std::vector<Open> open_;
  bool any_ = false;
};

// The structure of a list evaluated as a program; nullopt if it is not well formed.
std::optional<std::vector<Control>> resolve_structures(std::span<const Object> items);

}  // namespace rplrun
