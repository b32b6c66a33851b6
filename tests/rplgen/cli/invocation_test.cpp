// The invocation name: every diagnostic of the compiler proper begins with it,
// exactly as the system passed it.
#include <gtest/gtest.h>

#include "process.h"

namespace {

Outcome run_as(std::vector<std::string> argv, std::string input) {
  Invocation inv;
  inv.argv = std::move(argv);
  inv.stdin_data = std::move(input);
  inv.timeout_seconds = 20;
  return run(inv);
}

TEST(Invocation, DiagnosticsBeginWithTheNameAsInvoked) {
  const std::string full = rplgen_path();
  Outcome got = run_as({full, "/nonexistent/a.c48"}, "");
  EXPECT_EQ(got.err, full + ": /nonexistent/a.c48: No such file or directory\n");
  EXPECT_EQ(got.status, 1);

  got = run_as({"./some where/my rplgen", "-"}, "\n\n }");
  EXPECT_EQ(got.err,
            "./some where/my rplgen: no output is produced, since no input was provided\n"
            "./some where/my rplgen: 3: parse error\n");
  EXPECT_EQ(got.status, 1);
}

// Without any argument, not even a name (execve with an empty vector; Linux
// then passes one empty name), standard input is compiled and the
// diagnostics fall back to the compiler's own name.
TEST(Invocation, EmptyArgumentVector) {
  Outcome got = run_as({}, "x;\n");
  EXPECT_EQ(got.out, "%%HP: T(3)A(R)F(.);\n\\<<\nx\n\\>>\n");
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(got.status, 0);

  got = run_as({}, "}");
  EXPECT_EQ(got.err,
            "rplgen: no output is produced, since no input was provided\n"
            "rplgen: 1: parse error\n");
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.signal, 0);

  got = run_as({""}, "}");
  EXPECT_EQ(got.err,
            "rplgen: no output is produced, since no input was provided\n"
            "rplgen: 1: parse error\n");
}

}  // namespace
