// The command line: the inputs that the arguments name, files and standard
// input in argument order, each compiled on its own, and the first failure
// ending the run with the earlier programs kept; the name under which the
// compiler was invoked, which begins every diagnostic; and the standard
// streams. Also the test that runs every table of trials (trial.h).
#include <gtest/gtest.h>

#include "trial.h"

namespace {

using harness::Stream;

const TrialCase runs[] = {
    {"NoArgumentsCompilesStandardInput",
     Trial{.stdin_kind = Stream::pipe, .stdin_data = "x;\n", .out = program("x\n")}},
    {"StandardInputAmongFiles",
     Trial{.files = {{"a.c48", "a;\n"}, {"c.c48", "c;\n"}},
           .args = {"a.c48", "-", "c.c48"},
           .stdin_kind = Stream::pipe,
           .stdin_data = "b;\n",
           .out = program("a\n") + program("b\n") + program("c\n")}},
    {"DashTwiceWithStandardInputFromAFile",
     Trial{.args = {"-", "-"},
           .stdin_kind = Stream::file,
           .stdin_data = "x;\n",
           .out = program("x\n"),
           .err = no_input}},
    {"StandardInputThreeTimesFromPipe",
     Trial{.args = {"-", "-", "-"},
           .stdin_kind = Stream::pipe,
           .stdin_data = "x;\n",
           .out = program("x\n"),
           .err = no_input + no_input}},
    // Standard input from a terminal is read a line at a time: each line is
    // scanned as soon as it is complete. The error stands on the second line,
    // nothing more is typed and the terminal stays open, so only a
    // line-at-a-time read can report it.
    {"TerminalLinesAreScannedWhenComplete",
     Trial{.stdin_kind = Stream::terminal,
           .stdin_data = "x;\n}\n",
           .out = program("x\n"),
           .err = diag("2: parse error"),
           .status = 1}},
    {"EmptyAndCommentOnlyFilesBetweenGoodOnes",
     Trial{.files = {{"a.c48", "a;\n"},
                     {"empty.c48", ""},
                     {"note.c48", "/* nothing */ // here\n"},
                     {"b.c48", "b;\n"}},
           .args = {"a.c48", "empty.c48", "note.c48", "b.c48"},
           .out = program("a\n") + program("b\n"),
           .err = no_input + no_input}},
    // Options do not exist: these are file names like any other.
    {"OptionLookalikesAreFileNames",
     Trial{.files = {{"-o", "o;\n"}, {"-V", "v;\n"}},
           .args = {"-o", "-V"},
           .out = program("o\n") + program("v\n")}},
    // "later.fifo" is a named pipe with no writer: opening it would block. The
    // missing file's name looks like an option, and is none.
    {"MissingFileEndsTheRunBeforeTheNextIsOpened",
     Trial{.files = {{"a.c48", "a;\n"}},
           .args = {"a.c48", "-V", "later.fifo"},
           .out = program("a\n"),
           .err = diag("-V: No such file or directory"),
           .status = 1}},
    {"LineNumbersRestartForEachFile",
     Trial{.files = {{"a.c48", "a;\n\n\n\nb;\n"}, {"b.c48", "c;\n\nd e;\n"}},
           .args = {"a.c48", "b.c48"},
           .out = program("a\nb\n"),
           .err = diag("3: parse error"),
           .status = 1}},
    {"LineNumbersRestartForStandardInput",
     Trial{.files = {{"a.c48", "a;\n\n\n\n"}},
           .args = {"a.c48", "-"},
           .stdin_kind = Stream::pipe,
           .stdin_data = "\n}",
           .out = program("a\n"),
           .err = no_input + diag("2: parse error"),
           .status = 1}},
    // Inputs that end inside a line comment, right after a block comment or
    // right after a program literal, without a final newline, leave nothing
    // behind for the next input.
    {"InputsEndingInsideCommentsOrLiterals",
     Trial{.files = {{"a.c48", "a; // note"},
                     {"b.c48", "b; /* closed\n*/"},
                     {"c.c48", "c = @<< 1 >>;"},
                     {"d.c48", "d = @<< 2 >>; # note"},
                     {"e.c48", "e = @<< 3 >>;\n"}},
           .args = {"a.c48", "b.c48", "c.c48", "d.c48", "e.c48"},
           .out = program("a\n") + program("b\n") + program("\\<< 1 \\>> 'c' STO\n") +
                  program("\\<< 2 \\>> 'd' STO\n") + program("\\<< 3 \\>> 'e' STO\n")}},
    // A read failure is the scanner's own error: bare, with status 2.
    {"DirectoryAsInput",
     Trial{.files = {{"a.c48", "a;\n"}, {"b.c48", "b;\n"}},
           .args = {"a.c48", ".", "b.c48"},
           .out = program("a\n"),
           .err = "input in flex scanner failed\n",
           .status = 2}},
    {"StandardInputClosed",
     Trial{.stdin_kind = Stream::closed, .err = "input in flex scanner failed\n", .status = 2}},
    {"ThousandFilesWithFewDescriptors",
     [] {
       Trial t;
       for (int i = 0; i < 1000; ++i) {
         const std::string name = "f" + std::to_string(i) + ".c48";
         t.files.push_back({name, "v" + std::to_string(i) + ";\n"});
         t.args.push_back(name);
         t.out += program("v" + std::to_string(i) + "\n");
       }
       t.max_open_files = 32;  // each input must be closed before the next
       return t;
     }},
    // Each program is flushed as it is finished, so a write error shows at
    // the first program, before the missing file is even looked for.
    {"WriteErrorOnFullDevice",
     Trial{.files = {{"in.c48", "a;\n"}},
           .args = {"in.c48", "missing.c48"},
           .stdout_kind = Stream::dev_full,
           .err = diag("write error: No space left on device"),
           .status = 1}},
    // A closed standard output is reported, never a silent success.
    {"WriteErrorOnClosedOutput",
     Trial{.files = {{"in.c48", "a;\n"}},
           .args = {"in.c48"},
           .stdout_kind = Stream::closed,
           .err = diag("write error: Bad file descriptor"),
           .status = 1}},
    {"NothingToWriteOnFullDevice",
     Trial{.files = {{"in.c48", "\n"}},
           .args = {"in.c48", "-"},
           .stdout_kind = Stream::dev_full,
           .err = no_input + no_input}},
    // Diagnostics begin with the name as invoked.
    {"DiagnosticsBeginWithTheFullPath",
     [] {
       return Trial{.name = {rplgen_path()},
                    .args = {"/nonexistent/a.c48"},
                    .err = rplgen_path() + ": /nonexistent/a.c48: No such file or directory\n",
                    .status = 1};
     }},
    {"DiagnosticsBeginWithANameWithBlanks",
     Trial{.name = {"./some where/my rplgen"},
           .args = {"-"},
           .stdin_kind = Stream::pipe,
           .stdin_data = "\n\n }",
           .err = "./some where/my rplgen: no output is produced, since no input was provided\n"
                  "./some where/my rplgen: 3: parse error\n",
           .status = 1}},
    // Without any argument, not even a name (execve with an empty vector; Linux
    // then passes one empty name), standard input is compiled and the
    // diagnostics fall back to the compiler's own name; so with an empty name.
    {"EmptyArgumentVector",
     Trial{.name = {}, .stdin_kind = Stream::pipe, .stdin_data = "x;\n", .out = program("x\n")}},
    {"EmptyArgumentVectorDiagnostics",
     Trial{.name = {},
           .stdin_kind = Stream::pipe,
           .stdin_data = "}",
           .err = no_input + diag("1: parse error"),
           .status = 1}},
    {"EmptyNameDiagnostics",
     Trial{.name = {""},
           .stdin_kind = Stream::pipe,
           .stdin_data = "}",
           .err = no_input + diag("1: parse error"),
           .status = 1}},
};

}  // namespace

TEST_P(Trials, EndExactlyAsExpected) {
  const Trial t = GetParam().make();
  if (t.max_address_space != 0 && harness::sanitized_build) {
    GTEST_SKIP() << "no address-space limit here";
  }
  harness::Invocation inv;
  inv.program = rplgen_path();
  inv.argv = t.name;
  inv.argv.insert(inv.argv.end(), t.args.begin(), t.args.end());
  inv.files = t.files;
  inv.fifos = {"later.fifo"};
  inv.stdin_kind = t.stdin_kind;
  inv.stdin_data = t.stdin_data;
  inv.stdout_kind = t.stdout_kind;
  if (t.max_open_files != 0) inv.limits.push_back({RLIMIT_NOFILE, t.max_open_files});
  if (t.max_address_space != 0) inv.limits.push_back({RLIMIT_AS, t.max_address_space});
  harness::expect_outcome(harness::run(inv), t.out, t.err, t.status);
}

INSTANTIATE_TEST_SUITE_P(Runs, Trials, testing::ValuesIn(runs), trial_name);
