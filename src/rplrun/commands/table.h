// The one table of commands: every name the calculator knows as a command, with the
// number of arguments it takes from the stack (checked, and saved for LASTARG, before
// its handler runs), how it is written inside algebraics, and its handler.
//
// Each group of commands lives in its own file as a list of rows; the table joins
// them with the structure words and with the other command names of the HP48G ROM,
// which rplrun reads but reports as not supported when they run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "objects/command_registry.h"

namespace rplrun {

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

// The form a command takes on unit objects (arithmetic, comparisons, functions of
// reals), joined by name to the command's row. It applies when an argument is a unit
// object and every other one a unit object or a real.
struct UnitForm {
  const char* name;  // with the backslash codes
  Handler handler;
};

// Installs in the registry what builds the table from the groups' rows, once, when a
// command is first looked up; the program calls it before it reads or runs anything.
void install_commands();

// The groups' rows (one file each under commands/).
std::span<const CommandRow> stack_commands();
std::span<const CommandRow> arithmetic_commands();
std::span<const CommandRow> logic_commands();
std::span<const CommandRow> control_commands();
std::span<const CommandRow> variable_commands();
std::span<const CommandRow> directory_commands();
std::span<const CommandRow> memory_commands();
std::span<const CommandRow> evaluation_commands();
std::span<const CommandRow> list_commands();
std::span<const CommandRow> list_arithmetic_commands();
std::span<const CommandRow> list_program_commands();
std::span<const CommandRow> algebra_commands();
std::span<const CommandRow> calculus_commands();
std::span<const CommandRow> derivative_commands();
std::span<const CommandRow> collect_commands();
std::span<const CommandRow> inspection_commands();
std::span<const CommandRow> isolation_commands();
std::span<const CommandRow> matching_commands();
std::span<const CommandRow> string_commands();
std::span<const CommandRow> mode_commands();
std::span<const CommandRow> text_display_commands();
std::span<const CommandRow> screen_commands();
std::span<const CommandRow> dialog_commands();
std::span<const CommandRow> keyboard_commands();
std::span<const CommandRow> array_commands();
std::span<const CommandRow> matrix_commands();
std::span<const CommandRow> vector_commands();
std::span<const ArrayForm> array_forms();
std::span<const CommandRow> binary_commands();
std::span<const CommandRow> unit_commands();
std::span<const UnitForm> unit_forms();
std::span<const CommandRow> equation_library_commands();
std::span<const CommandRow> solver_commands();
std::span<const CommandRow> tvm_commands();
std::span<const CommandRow> equation_set_commands();
std::span<const CommandRow> ode_commands();
std::span<const CommandRow> time_commands();
std::span<const CommandRow> statistics_commands();
std::span<const CommandRow> fit_commands();
std::span<const CommandRow> distribution_commands();
std::span<const CommandRow> factorization_commands();
std::span<const CommandRow> transform_commands();
std::span<const CommandRow> graphics_commands();
std::span<const CommandRow> picture_commands();
std::span<const CommandRow> plot_parameter_commands();
std::span<const CommandRow> plot_drawing_commands();
// Every command name of the HP48G ROM, with the backslash codes: the table holds no more.
inline constexpr std::size_t hp48g_command_count = 517;
std::span<const char* const> hp48g_command_names();

}  // namespace rplrun
