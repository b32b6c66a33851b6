#include "objects/command_registry.h"

#include <stdexcept>

namespace rplrun {

namespace registry {

const CommandTable* installed = nullptr;

namespace {
CommandTableBuilder builder = nullptr;
}  // namespace

const CommandTable& build() {
  if (!builder) throw std::logic_error("the command table is not installed");
  installed = &builder();
  return *installed;
}

}  // namespace registry

using registry::table;

void install_command_table(CommandTableBuilder build) { registry::builder = build; }

namespace {

// FNV-1a: names are short, and a few bytes' work spreads them well enough.
std::uint32_t name_hash(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

}  // namespace

std::size_t CommandIndex::slot_of(std::span<const CommandInfo> rows, std::string_view name) const {
  std::size_t slot = name_hash(name) & (slot_count - 1);
  while (slots_[slot] != 0 && rows[slots_[slot] - 1].name != name)
    slot = (slot + 1) & (slot_count - 1);
  return slot;
}

std::optional<std::uint32_t> CommandIndex::find(std::span<const CommandInfo> rows,
                                                std::string_view name) const {
  const std::uint16_t held = slots_[slot_of(rows, name)];
  if (held == 0) return std::nullopt;
  return held - 1u;
}

bool CommandIndex::add(std::span<const CommandInfo> rows, std::uint32_t id) {
  if (id >= max_commands) throw std::logic_error("more commands than the index holds");
  std::uint16_t& slot = slots_[slot_of(rows, rows[id].name)];
  if (slot != 0) return false;
  slot = static_cast<std::uint16_t>(id + 1);
  return true;
}

std::optional<std::uint32_t> find_command(std::string_view hp_name) {
  const CommandTable& t = table();
  return t.by_name.find(t.commands, hp_name);
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
