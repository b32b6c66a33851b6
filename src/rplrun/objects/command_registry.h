// The command registry: what the object model, the reader and the evaluator know of a
// command (its name, the number of arguments it takes from the stack, how it is written
// inside algebraics, the structure word it is, its handler), found by name or by id.
//
// The rows themselves live above the machine, in commands/, whose handlers compute on
// it; install_commands() there installs, before anything is read or run, what builds
// the table from them when a command is first looked up.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "objects/command_ids.h"
#include "objects/object.h"

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
// them: the evaluator then computes it at once, without moving the arguments. A condition
// of the result (an overflow...) is stored in `condition`.
using RealOperation = Real (*)(Real x, Real y, Condition& condition);

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
// takes numbers, names and algebraics, the tags of tagged ones dropped (arrays:
// array_handler); binary integers reach the handler, which takes them or reports Bad
// Argument Type.
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

struct CommandInfo {
  std::string_view name;  // HP characters; the table keeps the text
  std::int8_t argc = 0;
  Handler handler = nullptr;
  Algebra algebra;
  bool symbolic = false;
  Word word = Word::none;
  bool supported = false;  // false: an HP48G command that rplrun does not run
  Operands operands = Operands::any;
  // Runs instead of the handler on arrays (see ArrayForm in commands/table.h); null:
  // the handler alone decides.
  Handler array_handler = nullptr;
  bool array_target = false;
  // Runs instead of the handler when an argument is a unit object and the others are
  // unit objects or reals (UnitForm in commands/table.h).
  Handler unit_handler = nullptr;
  RealOperation on_reals = nullptr;
};

// Command names to ids: open addressing over a fixed array of slots, kept at most half
// full, so that it is built at every start without an allocation and nothing is freed at
// exit. A slot holds an id plus one (0: empty); the names are those of the rows indexed.
class CommandIndex {
 public:
  static constexpr std::size_t max_commands = 1024;

  std::optional<std::uint32_t> find(std::span<const CommandInfo> rows, std::string_view name) const;
  // Indexes rows[id] under its name: false, and nothing changed, when a row has it already.
  bool add(std::span<const CommandInfo> rows, std::uint32_t id);

 private:
  static constexpr std::size_t slot_count = 2 * max_commands;  // a power of two
  // The slot holding `name`, or the empty one where it goes.
  std::size_t slot_of(std::span<const CommandInfo> rows, std::string_view name) const;
  std::array<std::uint16_t, slot_count> slots_{};
};

// Every command, those of command_ids.h first, at their ids; words[w] is the id of
// structure word w.
struct CommandTable {
  std::span<const CommandInfo> commands;
  CommandIndex by_name;
  std::uint32_t words[16] = {};
};

namespace registry {
extern const CommandTable* installed;
// Builds the table at the first lookup: a run that reads no command name builds none.
const CommandTable& build();
inline const CommandTable& table() {
  if (!installed) [[unlikely]]
    return build();
  return *installed;
}
}  // namespace registry

// The command of a name read or typed (HP characters); the commands the code names have
// their ids in command_ids.h.
std::optional<std::uint32_t> find_command(std::string_view hp_name);
// The same for an interned name, looked up once: what a program calls by name again and
// again costs no search.
std::optional<std::uint32_t> find_command(const Symbol* name);
// Inline: the evaluator asks for it at every command it runs.
inline const CommandInfo& command_info(std::uint32_t id) { return registry::table().commands[id]; }
std::uint32_t word_id(Word word);
std::size_t command_count();

// Makes `build` what gives the table every lookup above reads: it is called once, at the
// first lookup, and the table it gives must outlive them all. Reading or running RPL
// before this is a mistake of the program: every name would be unknown.
using CommandTableBuilder = const CommandTable& (*)();
void install_command_table(CommandTableBuilder build);

}  // namespace rplrun
