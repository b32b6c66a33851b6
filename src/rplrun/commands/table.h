// The one table of commands: every name the calculator knows as a command, with the
// number of arguments it takes from the stack (checked, and saved for LASTARG, before
// its handler runs), how it is written inside algebraics, and its handler.
//
// Each group of commands lives in its own file as a list of rows; the table joins
// them with the structure words and with the other command names of the HP48G ROM,
// which rplrun reads but reports as not supported when they run.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "rplrun/object.h"

namespace rplrun {

class Machine;

// The arguments of a command, level 1 last: args[1] is level 1, args[2] level 2...
class Args {
 public:
  Args(const Object* base, int count) : base_(base), count_(count) {}
  const Object& operator[](int level) const { return base_[count_ - level]; }
  int count() const { return count_; }

 private:
  const Object* base_;
  int count_;
};

using Handler = void (*)(Machine& machine, const Args& args);

// What a command of two arguments computes from two reals, when that is all it does with
// them: the evaluator then computes it at once, without moving the arguments.
using RealOperation = RealResult (*)(Real x, Real y);

// How a command is written inside an algebraic.
enum class Notation : std::uint8_t {
  none,      // not usable in algebraics
  infix,     // A+B, A AND B
  prefix,    // -A (NEG), NOT A
  postfix,   // A!
  function,  // SIN(A), XROOT(2,A), \pi
  // Written as a function on the calculator but not run inside algebraics by rplrun
  // (APPLY): read and kept by name, reported as not supported when evaluated.
  kept,
};

// Binding strength inside algebraics, loosest first. ORDER: the infix reader and the
// printer compare these numbers.
enum Precedence : std::uint8_t {
  prec_where = 1,     // |
  prec_equation = 2,  // =
  prec_or = 4,        // OR XOR
  prec_and = 6,       // AND
  prec_not = 7,       // NOT
  prec_compare = 8,   // == \=/ < > \<= \>=
  prec_sum = 10,      // + -
  prec_product = 12,  // * /
  prec_negate = 14,   // prefix -
  prec_power = 16,    // ^
  prec_postfix = 18,  // !
  prec_atom = 20,     // numbers, names, functions
};

// The words of program structures.
enum class Word : std::uint8_t {
  none,
  if_,
  then_,
  else_,
  end_,
  case_,
  iferr_,
  while_,
  repeat_,
  do_,
  until_,
  start_,
  for_,
  next_,
  step_,
  arrow_,
};

// Which objects a command takes, checked before its handler runs. A function of numbers
// takes numbers, names and algebraics; tagged objects among its arguments are not handled
// yet and reported as not supported (arrays: array_handler); binary integers reach the
// handler, which takes them or reports Bad Argument Type.
enum class Operands : std::uint8_t {
  any,                    // any object: the handler decides
  numbers,                // a function of numbers; lists are not supported
  numbers_mapping_lists,  // one of numbers; lists are processed element by element
  // One of numbers, whose handler gives lists a meaning of its own (+ joins them, ==
  // compares them).
  numbers_taking_lists,
};

struct Algebra {
  Notation notation = Notation::none;
  std::uint8_t precedence = prec_atom;  // for infix and prefix
  std::uint8_t arity = 0;               // arguments of a function
  bool reversed = false;                // written with its arguments in reverse stack order (XROOT)
  // Its arguments are kept whole, unevaluated, inside the algebraic (QUOTE).
  bool quoted_args = false;
};

// A row of a group's list.
struct CommandRow {
  const char* name;  // with the backslash codes of the transfer format: "\\->LIST"
  std::int8_t argc;
  Handler handler;
  Algebra algebra = {};
  // Builds an algebraic when an argument is a name or an algebraic and none is a list,
  // string, array or other object the handler gives a meaning to.
  bool symbolic = false;
  Operands operands = Operands::any;
  RealOperation on_reals = nullptr;  // level 2 and level 1 both reals
};

struct CommandInfo {
  std::string name;  // HP characters
  std::int8_t argc = 0;
  Handler handler = nullptr;
  Algebra algebra;
  bool symbolic = false;
  Word word = Word::none;
  bool supported = false;  // false: an HP48G command that rplrun does not run
  Operands operands = Operands::any;
  // Runs instead of the handler on arrays (see ArrayForm); null: the handler alone
  // decides.
  Handler array_handler = nullptr;
  bool array_target = false;
  RealOperation on_reals = nullptr;
};

// The form a command takes on arrays (the arithmetic commands, SUB, REPL), joined by
// name to the command's row. It applies when an argument is an array and none is a list
// (processed element by element, or joined by +) or a string (joined by +); with
// `target`, whenever the object worked on (the deepest argument) is an array, whatever
// the others (SUB's positions).
struct ArrayForm {
  const char* name;  // with the backslash codes
  Handler handler;
  bool target = false;
};

std::optional<std::uint32_t> find_command(std::string_view hp_name);
const CommandInfo& command_info(std::uint32_t id);
std::uint32_t command_id(std::string_view ascii_name);  // for names known to exist
std::uint32_t word_id(Word word);
std::size_t command_count();

// The groups' rows (one file each under commands/).
std::span<const CommandRow> stack_commands();
std::span<const CommandRow> arithmetic_commands();
std::span<const CommandRow> logic_commands();
std::span<const CommandRow> control_commands();
std::span<const CommandRow> variable_commands();
std::span<const CommandRow> evaluation_commands();
std::span<const CommandRow> list_commands();
std::span<const CommandRow> list_arithmetic_commands();
std::span<const CommandRow> list_program_commands();
std::span<const CommandRow> algebra_commands();
std::span<const CommandRow> string_commands();
std::span<const CommandRow> mode_commands();
std::span<const CommandRow> text_display_commands();
std::span<const CommandRow> array_commands();
std::span<const CommandRow> matrix_commands();
std::span<const CommandRow> vector_commands();
std::span<const ArrayForm> array_forms();
std::span<const CommandRow> binary_commands();
std::span<const CommandRow> time_commands();
std::span<const CommandRow> factorization_commands();
std::span<const CommandRow> transform_commands();
// Every command name of the HP48G ROM, with the backslash codes.
std::span<const char* const> hp48g_command_names();

}  // namespace rplrun
