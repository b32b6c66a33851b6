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
