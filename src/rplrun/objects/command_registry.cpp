#include "objects/command_registry.h"

#include <stdexcept>

namespace rplrun {

namespace {

const CommandTable* installed = nullptr;

// Reading or running RPL before install_commands() is a mistake of the program: every
// name would be unknown.
[[noreturn]] void not_installed() { throw std::logic_error("the command table is not installed"); }

const CommandTable& table() {
  if (!installed) [[unlikely]]
    not_installed();
  return *installed;
}

}  // namespace

void install_command_table(const CommandTable& table) { installed = &table; }

std::optional<std::uint32_t> find_command(std::string_view hp_name) {
  const CommandTable& t = table();
  const auto found = t.by_name.find(std::string(hp_name));
  if (found == t.by_name.end()) return std::nullopt;
  return found->second;
}

const CommandInfo& command_info(std::uint32_t id) { return table().commands[id]; }

std::uint32_t word_id(Word word) { return table().words[static_cast<int>(word)]; }

std::size_t command_count() { return table().commands.size(); }

}  // namespace rplrun
