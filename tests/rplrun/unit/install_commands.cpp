// The unit tests read, display and run RPL without the program, which installs the
// command table at start-up: they install it before the first test.
#include <gtest/gtest.h>

#include "commands/table.h"

namespace {

class CommandTable : public ::testing::Environment {
  void SetUp() override { rplrun::install_commands(); }
};

// Google Test owns the environments it is given.
const ::testing::Environment* const command_table =
    ::testing::AddGlobalTestEnvironment(new CommandTable);

}  // namespace
