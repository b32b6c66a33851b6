// The command table: only the calculator's own commands, each with a sane row.
#include <gtest/gtest.h>

#include <set>

#include "commands/table.h"
#include "objects/charset.h"

namespace rplrun {
namespace {

TEST(CommandTable, HoldsOnlyHp48gCommands) {
  std::set<std::string> rom;
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

TEST(CommandTable, NamesThatAreNoCommands) {
  for (const char* name : {"SQRT", "PI", "NDUPN", "R\\->P", "dup", "STOx", "break"}) {
    EXPECT_FALSE(find_command(rpl::decode_backslash_codes(name)).has_value()) << name;
  }
}

}  // namespace
}  // namespace rplrun
