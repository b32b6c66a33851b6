#include <gtest/gtest.h>

#include "expect.h"
#include "process.h"

namespace {

TEST(CommandLine, NoArgumentsCompilesStandardInput) {
  expect_outcome(run_rplgen({}, "x;\n"), program("x\n"), "", 0);
}

// A program literal on the last line of one input (no final newline) must not
// keep the next input from starting a program literal of its own.
TEST(CommandLine, EachInputStartsOnAFreshLine) {
  const std::string dir = make_temp_dir();
  write_file(dir + "/first.c48", "x = @<<A>>;");
  write_file(dir + "/second.c48", "y = @<<B>>;\n");
  const Outcome got = run_rplgen({dir + "/first.c48", dir + "/second.c48"});
  expect_outcome(got, program("\\<<A\\>> 'x' STO\n") + program("\\<<B\\>> 'y' STO\n"), "", 0);
}

}  // namespace
