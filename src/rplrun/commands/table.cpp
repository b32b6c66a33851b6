#include "commands/table.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

#include "objects/command_ids.h"
#include "support/charset.h"

namespace rplrun {

namespace {

struct StructureWord {
  const char* name;
  Word word;
};

constexpr StructureWord structure_words[] = {
    {"IF", Word::if_},       {"THEN", Word::then_},     {"ELSE", Word::else_},
    {"END", Word::end_},     {"CASE", Word::case_},     {"IFERR", Word::iferr_},
    {"WHILE", Word::while_}, {"REPEAT", Word::repeat_}, {"DO", Word::do_},
    {"UNTIL", Word::until_}, {"START", Word::start_},   {"FOR", Word::for_},
    {"NEXT", Word::next_},   {"STEP", Word::step_},     {"\\->", Word::arrow_},
};

// A row's name in HP characters; most names have no backslash code to decode, and the
// table is built at every start.
std::string hp_name(const char* name) {
  const std::string_view text(name);
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  return rpl::decode_backslash_codes(text);
}

struct Table : CommandTable {
  // The commands the code names, by name: their rows go to their fixed ids.
  std::unordered_map<std::string, std::uint32_t> named;

  // A name given a second row is a mistake that would otherwise lose one of them.
  std::uint32_t add(CommandInfo info) {
    if (by_name.contains(info.name))
      throw std::logic_error("two rows of the command table for " + info.name);
    std::uint32_t id = static_cast<std::uint32_t>(commands.size());
    if (const auto fixed = named.find(info.name); fixed != named.end()) id = fixed->second;
    by_name.emplace(info.name, id);
    if (id == commands.size())
      commands.push_back(std::move(info));
    else
      commands[id] = std::move(info);
    return id;
  }

  Table() {
    constexpr std::size_t expected = 2048;  // about as many as the calculator has
    by_name.reserve(expected);
    commands.reserve(expected);
    commands.resize(cmd::named_count);
    for (std::uint32_t id = 0; id < cmd::named_count; ++id)
      named.emplace(hp_name(cmd::names[id]), id);
    for (const StructureWord& w : structure_words) {
      CommandInfo info;
      info.name = hp_name(w.name);
      info.word = w.word;
      info.supported = true;
      words[static_cast<int>(w.word)] = add(std::move(info));
    }
    for (auto group : {stack_commands,        arithmetic_commands,
                       logic_commands,        control_commands,
                       variable_commands,     directory_commands,
                       memory_commands,       evaluation_commands,
                       list_commands,         list_arithmetic_commands,
                       list_program_commands, algebra_commands,
                       calculus_commands,     derivative_commands,
                       string_commands,       mode_commands,
                       text_display_commands, array_commands,
                       matrix_commands,       vector_commands,
                       binary_commands,       time_commands,
                       statistics_commands,   fit_commands,
                       distribution_commands, factorization_commands,
                       transform_commands,    dialog_commands,
                       keyboard_commands,     plot_parameter_commands,
                       plot_drawing_commands, unit_commands,
                       graphics_commands,     picture_commands,
                       screen_commands,       collect_commands,
                       inspection_commands,   isolation_commands,
                       matching_commands,     equation_library_commands,
                       solver_commands,       tvm_commands,
                       equation_set_commands, ode_commands}) {
      for (const CommandRow& row : group()) {
        // The evaluator computes on two reals before it checks that a command runs.
        if (row.on_reals && !row.handler)
          throw std::logic_error(std::string("a command computing on reals needs a handler: ") +
                                 row.name);
        CommandInfo info;
        info.name = hp_name(row.name);
        info.argc = row.argc;
        info.handler = row.handler;
        info.algebra = row.algebra;
        info.symbolic = row.symbolic;
        info.on_reals = row.on_reals;
        info.supported = true;
        info.operands = row.operands;
        add(std::move(info));
      }
    }
    for (const ArrayForm& form : array_forms()) {
      CommandInfo& info = commands[by_name.at(hp_name(form.name))];
      info.array_handler = form.handler;
      info.array_target = form.target;
    }
    for (const UnitForm& form : unit_forms())
      commands[by_name.at(hp_name(form.name))].unit_handler = form.handler;
    for (const char* name : hp48g_command_names()) {
      CommandInfo info;
      info.name = hp_name(name);
      if (!by_name.contains(info.name)) add(std::move(info));
    }
    // A name the code refers to that no row gives is a mistake of the program.
    for (std::uint32_t id = 0; id < cmd::named_count; ++id) {
      if (commands[id].name.empty())
        throw std::logic_error(std::string("no row of the command table for ") + cmd::names[id]);
    }
  }
};

}  // namespace

void install_commands() {
  static const Table instance;
  install_command_table(instance);
}

}  // namespace rplrun
