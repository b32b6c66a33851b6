// The command line: the inputs that the arguments name, files and standard
// input in argument order, each compiled on its own, and the first failure
// ending the run with the earlier programs kept; and the name under which the
// compiler was invoked, which begins every diagnostic.
#include <gtest/gtest.h>

#include "rplgen_test.h"

namespace {

using harness::Stream;

struct Case {
  const char* name;
  std::vector<harness::File> files;  // written to the run's working directory
  std::vector<std::string> args;
  Stream stdin_kind;
  std::string stdin_data;  // piped, typed at a terminal, or the file read as standard input
  std::string out;
  std::string err;
  int status;
};

const Case runs[] = {
    {"NoArgumentsCompilesStandardInput", {}, {}, Stream::pipe, "x;\n", program("x\n"), "", 0},
    {"StandardInputAmongFiles",
     {{"a.c48", "a;\n"}, {"c.c48", "c;\n"}},
     {"a.c48", "-", "c.c48"}, Stream::pipe, "b;\n",
     program("a\n") + program("b\n") + program("c\n"), "", 0},
    {"DashTwiceWithStandardInputFromAFile",
     {}, {"-", "-"}, Stream::file, "x;\n", program("x\n"), no_input, 0},
    {"StandardInputThreeTimesFromPipe",
     {}, {"-", "-", "-"}, Stream::pipe, "x;\n", program("x\n"), no_input + no_input, 0},
    // Standard input from a terminal is read a line at a time: each line is
    // scanned as soon as it is complete. The error stands on the second line,
    // nothing more is typed and the terminal stays open, so only a
    // line-at-a-time read can report it.
    {"TerminalLinesAreScannedWhenComplete",
     {}, {}, Stream::terminal, "x;\n}\n", program("x\n"), diag("2: parse error"), 1},
    {"EmptyAndCommentOnlyFilesBetweenGoodOnes",
     {{"a.c48", "a;\n"}, {"empty.c48", ""}, {"note.c48", "/* nothing */ // here\n"},
      {"b.c48", "b;\n"}},
     {"a.c48", "empty.c48", "note.c48", "b.c48"}, Stream::dev_null, "",
     program("a\n") + program("b\n"), no_input + no_input, 0},
    // Options do not exist: these are file names like any other.
    {"OptionLookalikesAreFileNames",
     {{"-o", "o;\n"}, {"-V", "v;\n"}},
     {"-o", "-V"}, Stream::dev_null, "", program("o\n") + program("v\n"), "", 0},
    {"MissingOptionLookalike",
     {}, {"-V"}, Stream::dev_null, "", "", diag("-V: No such file or directory"), 1},
    // "later.fifo" is a named pipe with no writer: opening it would block.
    {"MissingFileEndsTheRunBeforeTheNextIsOpened",
     {{"a.c48", "a;\n"}},
     {"a.c48", "missing.c48", "later.fifo"}, Stream::dev_null, "",
     program("a\n"), diag("missing.c48: No such file or directory"), 1},
    {"LineNumbersRestartForEachFile",
     {{"a.c48", "a;\n\n\n\nb;\n"}, {"b.c48", "c;\n\nd e;\n"}},
     {"a.c48", "b.c48"}, Stream::dev_null, "", program("a\nb\n"), diag("3: parse error"), 1},
    {"LineNumbersRestartForStandardInput",
     {{"a.c48", "a;\n\n\n\n"}},
     {"a.c48", "-"}, Stream::pipe, "\n}", program("a\n"), no_input + diag("2: parse error"), 1},
    // Inputs that end inside a line comment, right after a block comment or
    // right after a program literal, without a final newline, leave nothing
    // behind for the next input.
    {"InputsEndingInsideCommentsOrLiterals",
     {{"a.c48", "a; // note"}, {"b.c48", "b; /* closed\n*/"}, {"c.c48", "c = @<< 1 >>;"},
      {"d.c48", "d = @<< 2 >>; # note"}, {"e.c48", "e = @<< 3 >>;\n"}},
     {"a.c48", "b.c48", "c.c48", "d.c48", "e.c48"}, Stream::dev_null, "",
     program("a\n") + program("b\n") + program("\\<< 1 \\>> 'c' STO\n") +
         program("\\<< 2 \\>> 'd' STO\n") + program("\\<< 3 \\>> 'e' STO\n"),
     "", 0},
    // A read failure is the scanner's own error: bare, with status 2.
    {"DirectoryAsInput",
     {{"a.c48", "a;\n"}, {"b.c48", "b;\n"}},
     {"a.c48", ".", "b.c48"}, Stream::dev_null, "", program("a\n"),
     "input in flex scanner failed\n", 2},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CommandLine : public testing::TestWithParam<Case> {};

TEST_P(CommandLine, EndsAsExpected) {
  const Case& c = GetParam();
  harness::Invocation inv = rplgen_invocation(c.args, c.stdin_data);
  inv.files = c.files;
  inv.fifos = {"later.fifo"};
  inv.stdin_kind = c.stdin_kind;
  inv.timeout_seconds = 20;
  harness::expect_outcome(harness::run(inv), c.out, c.err, c.status);
}

INSTANTIATE_TEST_SUITE_P(Runs, CommandLine, testing::ValuesIn(runs),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

harness::Outcome run_as(std::vector<std::string> argv, std::string input) {
  harness::Invocation inv = rplgen_invocation({}, std::move(input));
  inv.argv = std::move(argv);
  inv.timeout_seconds = 20;
  return harness::run(inv);
}

TEST(Invocation, DiagnosticsBeginWithTheNameAsInvoked) {
  const std::string full = rplgen_path();
  harness::Outcome got = run_as({full, "/nonexistent/a.c48"}, "");
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
  harness::Outcome got = run_as({}, "x;\n");
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
