#include "objects/command_registry.h"

#include <stdexcept>

namespace rplrun {

namespace registry {

const CommandTable* installed = nullptr;

void not_installed() { throw std::logic_error("the command table is not installed"); }

}  // namespace registry

using registry::table;

void install_command_table(const CommandTable& table) { registry::installed = &table; }

std::optional<std::uint32_t> find_command(std::string_view hp_name) {
  const CommandTable& t = table();
  const auto found = t.by_name.find(std::string(hp_name));
  if (found == t.by_name.end()) return std::nullopt;
  return found->second;
}

std::optional<std::uint32_t> find_command(const Symbol* name) {
  if (name->command == Symbol::not_looked_up)
    name->command = find_command(name->text()).value_or(Symbol::no_command);
  if (name->command == Symbol::no_command) return std::nullopt;
  return name->command;
}

std::uint32_t word_id(Word word) { return table().words[static_cast<int>(word)]; }

std::size_t command_count() { return table().commands.size(); }

}  // namespace rplrun
