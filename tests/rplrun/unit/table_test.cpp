// The command table: only the calculator's own commands, each with a sane row.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/table.h"
#include "objects/charset.h"

namespace rplrun {
namespace {

TEST(CommandTable, HoldsOnlyHp48gCommands) {
  std::set<std::string, std::less<>> rom;
  for (const char* name : hp48g_command_names()) rom.insert(rpl::decode_backslash_codes(name));
  for (std::uint32_t id = 0; id < command_count(); ++id) {
    const CommandInfo& info = command_info(id);
    SCOPED_TRACE(encode(info.name, OutputCharset::ascii));
    EXPECT_TRUE(rom.contains(info.name));
    EXPECT_LE(info.argc, 6);
    if (info.supported && info.word == Word::none) {
      EXPECT_NE(info.handler, nullptr);
    }
    if (info.symbolic) {
      EXPECT_NE(info.algebra.notation, Notation::none);
    }
    if (info.algebra.notation == Notation::function) {
      EXPECT_EQ(info.algebra.arity == 0, info.argc == 0);
    }
    // Element by element means one result per element (or pair) from an algebraic function.
    if (info.operands == Operands::numbers_mapping_lists) {
      EXPECT_TRUE(info.argc == 1 || info.argc == 2);
      EXPECT_NE(info.algebra.notation, Notation::none);
      EXPECT_NE(info.algebra.notation, Notation::kept);
    }
  }
  EXPECT_EQ(command_count(), rom.size());
}

// The ids the code uses are those of the rows of their names, and reading the name
// gives the same command.
TEST(CommandTable, NamedIdsAreTheirRows) {
  std::set<std::string> names;
  for (std::uint32_t id = 0; id < cmd::named_count; ++id) {
    const std::string name = rpl::decode_backslash_codes(cmd::names[id]);
    SCOPED_TRACE(cmd::names[id]);
    EXPECT_TRUE(names.insert(name).second);
    EXPECT_EQ(command_info(id).name, name);
    EXPECT_EQ(find_command(name), id);
  }
  EXPECT_EQ(command_info(cmd::plus).algebra.notation, Notation::infix);
  EXPECT_EQ(command_info(cmd::negate).algebra.notation, Notation::prefix);
}

// The index alone, filled to its capacity: every name found at its id whatever the
// collisions, a second row of a name refused, and no room beyond.
TEST(CommandIndex, FindsEveryNameItHolds) {
  const std::size_t count = CommandIndex::max_commands;
  std::vector<std::string> names;
  for (std::size_t i = 0; i + 1 < count; ++i) names.push_back("N" + std::to_string(i));
  names.push_back("N0");
  std::vector<CommandInfo> rows(count);
  for (std::size_t i = 0; i < count; ++i) rows[i].name = names[i];
  auto index = std::make_unique<CommandIndex>();
  EXPECT_FALSE(index->find(rows, "N0").has_value());
  for (std::uint32_t id = 0; id + 1 < count; ++id) ASSERT_TRUE(index->add(rows, id));
  EXPECT_FALSE(index->add(rows, static_cast<std::uint32_t>(count - 1)));
  for (std::uint32_t id = 0; id + 1 < count; ++id) EXPECT_EQ(index->find(rows, names[id]), id);
  for (const char* absent : {"", "N", "N1023", "n0", "N00"})
    EXPECT_FALSE(index->find(rows, absent).has_value()) << absent;
  EXPECT_THROW(index->add(rows, static_cast<std::uint32_t>(count)), std::logic_error);
}

TEST(CommandTable, NamesThatAreNoCommands) {
  for (const char* name : {"SQRT", "PI", "NDUPN", "R\\->P", "dup", "STOx", "break"}) {
    EXPECT_FALSE(find_command(rpl::decode_backslash_codes(name)).has_value()) << name;
  }
}

}  // namespace
}  // namespace rplrun
