#include "commands/table.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

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

// The table is built at every start: into fixed arrays, without an allocation per row,
// and with nothing to free at exit.
class Table : public CommandTable {
 public:
  Table() {
    // The commands the code names take the first ids, reserved here and filled by their rows.
    for (std::uint32_t id = 0; id < cmd::named_count; ++id) {
      rows_[id].name = hp_name(cmd::names[id]);
      if (!by_name.add(rows(), id))
        throw std::logic_error(std::string("a command named twice: ") + cmd::names[id]);
    }
    count_ = cmd::named_count;
    for (const StructureWord& w : structure_words) {
      CommandInfo info;
      info.name = hp_name(w.name);
      info.word = w.word;
      info.supported = true;
      words[static_cast<int>(w.word)] = add(info);
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
        add(info);
      }
    }
    for (const ArrayForm& form : array_forms()) {
      CommandInfo& info = rows_[row_of(form.name)];
      info.array_handler = form.handler;
      info.array_target = form.target;
    }
    for (const UnitForm& form : unit_forms()) rows_[row_of(form.name)].unit_handler = form.handler;
    for (const char* name : hp48g_command_names()) {
      CommandInfo info;
      info.name = hp_name(name);
      if (!built(info.name)) add(info);
    }
    // A name the code refers to that no row gives is a mistake of the program.
    for (std::uint32_t id = 0; id < cmd::named_count; ++id) {
      if (!filled_[id])
        throw std::logic_error(std::string("no row of the command table for ") + cmd::names[id]);
    }
    commands = rows();
  }

 private:
  std::span<const CommandInfo> rows() const { return {rows_.data(), count_}; }

  // Whether a row of that name is in, not merely reserved for a named command.
  bool built(std::string_view name) const {
    const auto id = by_name.find(rows(), name);
    return id && (*id >= cmd::named_count || filled_[*id]);
  }

  // A name given a second row is a mistake that would otherwise lose one of them.
  std::uint32_t add(const CommandInfo& info) {
    // Most names are new: the row goes in at the end, and the index takes it in one search.
    if (count_ < rows_.size()) {
      rows_[count_] = info;
      if (by_name.add({rows_.data(), count_ + 1}, static_cast<std::uint32_t>(count_)))
        return static_cast<std::uint32_t>(count_++);
    }
    const auto id = by_name.find(rows(), info.name);
    if (!id)
      throw std::logic_error("a row of the command table for a name the calculator lacks: " +
                             std::string(info.name));
    if (*id >= cmd::named_count || filled_[*id])
      throw std::logic_error("two rows of the command table for " + std::string(info.name));
    rows_[*id] = info;
    filled_[*id] = true;
    return *id;
  }

  std::uint32_t row_of(const char* name) const {
    const std::string_view text(name);
    const auto id = text.find('\\') == std::string_view::npos
                        ? by_name.find(rows(), text)
                        : by_name.find(rows(), rpl::decode_backslash_codes(text));
    if (!id) throw std::logic_error(std::string("no row of the command table for ") + name);
    return *id;
  }

  // A name in HP characters. Most names have no backslash code and are their own text;
  // the others are decoded once, into texts_.
  std::string_view hp_name(const char* name) {
    const std::string_view text(name);
    if (text.find('\\') == std::string_view::npos) return text;
    const std::string hp = rpl::decode_backslash_codes(text);
    if (const auto id = by_name.find(rows(), hp)) return rows_[*id].name;
    if (hp.size() > texts_.size() - texts_used_)
      throw std::logic_error("the command names need more room: " + std::string(text));
    const std::string_view kept = {texts_.data() + texts_used_, hp.size()};
    std::copy(hp.begin(), hp.end(), texts_.begin() + static_cast<std::ptrdiff_t>(texts_used_));
    texts_used_ += hp.size();
    return kept;
  }

  std::array<CommandInfo, hp48g_command_count> rows_;
  std::size_t count_ = 0;
  std::array<bool, cmd::named_count> filled_ = {};
  // The decoded names: those of the ROM with backslash codes take about 450 bytes.
  std::array<char, 1024> texts_ = {};
  std::size_t texts_used_ = 0;
};

static_assert(hp48g_command_count <= CommandIndex::max_commands);
static_assert(std::is_trivially_destructible_v<Table>);

}  // namespace

void install_commands() {
  install_command_table([]() -> const CommandTable& {
    static const Table instance;
    return instance;
  });
}

}  // namespace rplrun
