// The diagnostics: one line on standard error, "NAME: message", with the
// system's text for the error number where asked; the fatal ones end the
// process with the status given. A failed allocation anywhere ends it as
// exhausted memory.
#include "support/diagnostics.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "harness.h"
#include "support/memory.h"

namespace rpl {
namespace {

TEST(Diagnostics, WarningsWriteOneLineAndReturn) {
  set_program_name("./bin/rplgen");
  testing::internal::CaptureStderr();
  warning("no output is produced, since no input was provided");
  errno = ENOENT;
  warning_errno("%s", "a b.c48");
  errno = EACCES;
  warning_errno(nullptr);
  warning(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "./bin/rplgen: no output is produced, since no input was provided\n"
            "./bin/rplgen: a b.c48: No such file or directory\n"
            "./bin/rplgen: Permission denied\n"
            "./bin/rplgen: \n");
}

TEST(DiagnosticsDeathTest, FatalOnesEndTheProcessWithTheirStatus) {
  set_program_name("rplgen");
  EXPECT_EXIT(fatal(1, "%ld: %s", 12L, "parse error"), testing::ExitedWithCode(1),
              "^rplgen: 12: parse error\n$");
  EXPECT_EXIT(
      {
        errno = ENOENT;
        fatal_errno(3, "%s", "missing.c48");
      },
      testing::ExitedWithCode(3), "^rplgen: missing.c48: No such file or directory\n$");
  EXPECT_EXIT(
      {
        errno = ENOMEM;
        fatal_errno(1, nullptr);
      },
      testing::ExitedWithCode(1), "^rplgen: Cannot allocate memory\n$");
}

// A destructor or exit handler that fails while the process ends for an
// earlier error: one line, and the first error's status.
TEST(DiagnosticsDeathTest, ANewErrorWhileEndingAddsNothing) {
  set_program_name("rplgen");
  EXPECT_EXIT(
      {
        std::atexit([] { fatal(2, "second"); });
        fatal(1, "first");
      },
      testing::ExitedWithCode(1), "^rplgen: first\n$");
}

void* volatile kept;

TEST(DiagnosticsDeathTest, FailedAllocationIsExhaustedMemory) {
  if (harness::sanitized_build) GTEST_SKIP() << "the sanitizer reports a failed allocation itself";
  set_program_name("rplgen");
  volatile std::size_t huge = std::size_t{1} << 62;
  EXPECT_EXIT(
      {
        install_memory_handler();
        kept = ::operator new(huge);
      },
      testing::ExitedWithCode(1), "^rplgen: Cannot allocate memory\n$");
}

}  // namespace
}  // namespace rpl
