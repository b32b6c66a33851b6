// rplrun where the system fails it: memory refused under a limit, standard output that
// cannot be written, inputs that cannot be read or are too large, bytes on the command
// line that are not characters. Each run must end by itself, with its one message and
// status, never by a signal.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "rplrun_test.h"

namespace {

using harness::Invocation;
using harness::Stream;

struct Hostile {
  const char* name;
  std::vector<std::string> args;  // after "rplrun"
  std::string stdin_data;         // piped; empty: /dev/null
  // A file written where it runs, made of `piece` repeated (when the test runs: they are
  // large).
  struct Repeated {
    const char* name = nullptr;
    const char* piece = "";
    std::size_t times = 0;
  } file = {};
  Stream stdout_kind = Stream::pipe;
  unsigned long address_space = 0;  // bytes; 0: no limit (skipped under sanitizers if set)
  int status = 0;
  std::string err = {};  // exactly; or, ending in "...", its beginning; "*": any trace
  std::string out = {};
  bool ignore_sigpipe = false;
};

constexpr unsigned long megabytes = 1UL << 20;

// A string of 4 MB, 31 times on the stack: printing it takes 124 MB of output.
const std::string big_stack = "\"a\" 1 22 START DUP + NEXT 1 30 START DUP NEXT";
const std::string disp_for_ever = "WHILE 1 REPEAT \"x\" 1 DISP END";

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t k = 0; k < times; ++k) out += piece;
  return out;
}

const Hostile runs[] = {
    // Memory the system refuses is never an abort.
    {"BigStackPrinted", {"-e", big_stack}, "", {}, Stream::dev_null, 200 * megabytes},
    {"BigStackAtThePrompt", {"-i", "-e", big_stack}, "DEPTH\n", {}, Stream::dev_null,
     200 * megabytes},
    {"LongBlankFileRead", {"blank.rpl"}, "", {"blank.rpl", "        ", 5 * megabytes},
     Stream::pipe, 150 * megabytes},
    {"ObjectsBeyondMemory", {"-q", "many.rpl"}, "", {"many.rpl", "1 ", 5000000}, Stream::pipe,
     150 * megabytes, 1, "rplrun: many.rpl:1:..."},
    {"TextCappedAsItIsMade",
     {"-q", "-e", "\"a\" 1 25 START DUP + NEXT 1 20 START DUP NEXT 21 \\->LIST \\->STR"}, "", {},
     Stream::pipe, 200 * megabytes, 1, "rplrun: -e:1:58: \\->STR Error: Insufficient Memory\n"},
    // The tracer shows 40 characters of a huge algebraic: it never fails in the program's
    // place (an error that IFERR would catch).
    {"TraceLeavesTheProgramAlone",
     {"-t", "-1", "-e",
      "IFERR 'ABCDEFGHIJKLMNOPQRSTUVWXYZ' 1 19 START DUP + NEXT DROP 1 THEN ERRM END"},
     "", {}, Stream::pipe, 100 * megabytes, 0, "*", "1\n"},
    {"RefusedMemoryGivesTheArgumentsBack",
     {"-1", "-e", "IFERR { 1 } 1 22 START DUP + NEXT THEN DEPTH END"}, "", {}, Stream::pipe,
     64 * megabytes, 0, "", "2\n"},
    // Standard output that fails stops the run at once.
    {"DispOnAFullDevice", {"-e", disp_for_ever}, "", {}, Stream::dev_full, 0, 2,
     "rplrun: cannot write the standard output: No space left on device\n"},
    {"DispOnAClosedOutput", {"-e", disp_for_ever}, "", {}, Stream::closed, 0, 2,
     "rplrun: cannot write the standard output: Bad file descriptor\n"},
    {"DispOnABrokenPipe", {"-e", disp_for_ever}, "", {}, Stream::broken_pipe, 0, 2,
     "rplrun: cannot write the standard output: Broken pipe\n", "", true},
    {"StackOnAFullDevice", {"-e", "1 1 100000 START DUP NEXT"}, "", {}, Stream::dev_full, 0, 2,
     "rplrun: cannot write the standard output: No space left on device\n"},
    {"PromptOnAFullDevice", {"-i"}, "1\n2\n", {}, Stream::dev_full, 0, 2,
     "rplrun: cannot write the standard output: No space left on device\n"},
    // Option values and command-line bytes.
    {"StepCountWithABlank", {"--max-steps= -1", "-e", "1"}, "", {}, Stream::pipe, 0, 2,
     "rplrun: invalid step count ' -1'\nrplrun: try 'rplrun --help' for more information\n"},
    {"OverlongQuote", {"-e", "\xc0\xa2" "abc" "\xc0\xa2"}, "", {}, Stream::pipe, 0, 3,
     "rplrun: -e:1:1: Error: Invalid Syntax\n"},
    {"OverlongNul", {"-e", "1 \xc0\x80 2"}, "", {}, Stream::pipe, 0, 3,
     "rplrun: -e:1:3: Error: Invalid Syntax\n"},
    {"Surrogate", {"-e", "\"\xed\xa0\x80\""}, "", {}, Stream::pipe, 0, 3,
     "rplrun: -e:1:2: Error: Invalid Syntax\n"},
    {"FileNameWithALineBreak", {"no\nrplrun: such"}, "", {}, Stream::pipe, 0, 2,
     "rplrun: no\\010rplrun: such: cannot open: No such file or directory\n"},
    {"OptionValueWithAnEscape", {"--fix=\x1b[2J"}, "", {}, Stream::pipe, 0, 2,
     "rplrun: invalid digit count '\\027[2J'\nrplrun: try 'rplrun --help' for more information\n"},
};

void PrintTo(const Hostile& r, std::ostream* os) { *os << r.name; }

class Resources : public testing::TestWithParam<Hostile> {};

TEST_P(Resources, EndsWithItsMessage) {
  const Hostile& r = GetParam();
  if (r.address_space != 0 && harness::sanitized_build)
    GTEST_SKIP() << "address space limits do not apply to sanitized builds";
  Invocation inv = rplrun_invocation(r.args);
  if (r.file.name) inv.files.push_back({r.file.name, repeated(r.file.piece, r.file.times)});
  inv.stdin_data = r.stdin_data;
  if (!r.stdin_data.empty()) inv.stdin_kind = Stream::pipe;
  inv.stdout_kind = r.stdout_kind;
  inv.ignore_sigpipe = r.ignore_sigpipe;
  if (r.address_space != 0) inv.limits.push_back({static_cast<int>(RLIMIT_AS), r.address_space});
  const harness::Outcome got = harness::run(inv);
  ASSERT_FALSE(got.timed_out);
  EXPECT_EQ(got.signal, 0);
  EXPECT_EQ(got.status, r.status) << got.err;
  if (r.err == "*") {
    EXPECT_EQ(got.err.find("Error"), std::string::npos) << got.err;
  } else if (r.err.ends_with("...")) {
    EXPECT_TRUE(got.err.starts_with(r.err.substr(0, r.err.size() - 3))) << got.err;
    EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << got.err;
  } else {
    EXPECT_TRUE(harness::same_bytes(got.err, r.err));
  }
  EXPECT_TRUE(harness::same_bytes(got.out, r.out));
}

INSTANTIATE_TEST_SUITE_P(Limits, Resources, testing::ValuesIn(runs),
                         [](const testing::TestParamInfo<Hostile>& info) {
                           return std::string(info.param.name);
                         });

// Inputs that cannot be read whole: a directory as standard input, and files of 4 GiB or
// more (positions in an input are 32-bit offsets), here a sparse file that takes no room.
TEST(Inputs, RefusedWithTheirReason) {
  const std::string dir = harness::make_temp_dir();
  const std::string huge = dir + "/huge.rpl";
  {
    const int fd = open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, (off_t{1} << 32) + 1), 0);
    close(fd);
  }
  struct Case {
    std::vector<std::string> args;
    std::string stdin_from;
    std::string err;
  };
  const Case cases[] = {
      {{"-"}, dir, "rplrun: -: cannot read: Is a directory\n"},
      {{}, dir, "rplrun: -: cannot read: Is a directory\n"},
      {{huge}, "", "rplrun: " + huge + ": cannot read: File too large\n"},
      {{"-f", huge, "-e", "1"}, "", "rplrun: " + huge + ": cannot read: File too large\n"},
      {{"-"}, huge, "rplrun: -: cannot read: File too large\n"},
  };
  for (const Case& c : cases) {
    Invocation inv = rplrun_invocation(c.args);
    if (!c.stdin_from.empty()) inv.stdin_kind = Stream::file;
    inv.stdin_from = c.stdin_from;
    harness::expect_outcome(harness::run(inv), "", c.err, 2);
  }
  std::remove(huge.c_str());
  rmdir(dir.c_str());
}

}  // namespace
