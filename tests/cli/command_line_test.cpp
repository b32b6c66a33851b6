#include <gtest/gtest.h>

#include "process.h"

namespace {

const std::string header = "%%HP: T(3)A(R)F(.);\n\\<<\n";

TEST(CommandLine, NoArgumentsCompilesStandardInput) {
  const Outcome got = run_rplgen({}, "x;\n");
  EXPECT_EQ(got.out, header + "x\n\\>>\n");
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(got.status, 0);
}

}  // namespace

namespace {

// A program literal on the last line of one input (no final newline) must not
// keep the next input from starting a program literal of its own.
TEST(CommandLine, EachInputStartsOnAFreshLine) {
  const std::string dir = make_temp_dir();
  write_file(dir + "/first.c48", "x = @<<A>>;");
  write_file(dir + "/second.c48", "y = @<<B>>;\n");
  const Outcome got = run_rplgen({dir + "/first.c48", dir + "/second.c48"});
  EXPECT_EQ(got.out, header + "\\<<A\\>> 'x' STO\n\\>>\n" + header + "\\<<B\\>> 'y' STO\n\\>>\n");
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(got.status, 0);
}

}  // namespace
