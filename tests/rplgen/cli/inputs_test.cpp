// The compile loop over several inputs: files and standard input in argument
// order, each compiled on its own, and the first failure ending the run with
// the earlier programs kept.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "expect.h"
#include "process.h"

namespace {

struct File {
  std::string name;
  std::string text;
};

struct InputRun {
  const char* name;
  std::vector<File> files;  // written to the run's working directory
  std::vector<std::string> args;
  Stream stdin_kind;
  std::string stdin_text;  // piped, or the file read as standard input
  Stream stdout_kind;
  std::string out;
  std::string err;
  int status;
};

const InputRun runs[] = {
    {"StandardInputAmongFiles",
     {{"a.c48", "a;\n"}, {"c.c48", "c;\n"}},
     {"a.c48", "-", "c.c48"}, Stream::pipe, "b;\n", Stream::pipe,
     program("a\n") + program("b\n") + program("c\n"), "", 0},
    {"DashTwiceWithStandardInputFromAFile",
     {}, {"-", "-"}, Stream::file, "x;\n", Stream::pipe, program("x\n"), no_input, 0},
    {"EmptyAndCommentOnlyFilesBetweenGoodOnes",
     {{"a.c48", "a;\n"}, {"empty.c48", ""}, {"note.c48", "/* nothing */ // here\n"},
      {"b.c48", "b;\n"}},
     {"a.c48", "empty.c48", "note.c48", "b.c48"}, Stream::dev_null, "", Stream::pipe,
     program("a\n") + program("b\n"), no_input + no_input, 0},
    // Options do not exist: these are file names like any other.
    {"OptionLookalikesAreFileNames",
     {{"-o", "o;\n"}, {"-V", "v;\n"}},
     {"-o", "-V"}, Stream::dev_null, "", Stream::pipe, program("o\n") + program("v\n"), "", 0},
    {"MissingOptionLookalike",
     {}, {"-V"}, Stream::dev_null, "", Stream::pipe, "", diag("-V: No such file or directory"), 1},
    // "later.fifo" is a named pipe with no writer: opening it would block.
    {"MissingFileEndsTheRunBeforeTheNextIsOpened",
     {{"a.c48", "a;\n"}},
     {"a.c48", "missing.c48", "later.fifo"}, Stream::dev_null, "", Stream::pipe,
     program("a\n"), diag("missing.c48: No such file or directory"), 1},
    {"LineNumbersRestartForEachFile",
     {{"a.c48", "a;\n\n\n\nb;\n"}, {"b.c48", "c;\n\nd e;\n"}},
     {"a.c48", "b.c48"}, Stream::dev_null, "", Stream::pipe, program("a\nb\n"),
     diag("3: parse error"), 1},
    {"LineNumbersRestartForStandardInput",
     {{"a.c48", "a;\n\n\n\n"}},
     {"a.c48", "-"}, Stream::pipe, "\n}", Stream::pipe, program("a\n"),
     no_input + diag("2: parse error"), 1},
    // Inputs that end inside a line comment, right after a block comment or
    // right after a program literal, without a final newline, leave nothing
    // behind for the next input.
    {"InputsEndingInsideCommentsOrLiterals",
     {{"a.c48", "a; // note"}, {"b.c48", "b; /* closed\n*/"}, {"c.c48", "c = @<< 1 >>;"},
      {"d.c48", "d = @<< 2 >>; # note"}, {"e.c48", "e = @<< 3 >>;\n"}},
     {"a.c48", "b.c48", "c.c48", "d.c48", "e.c48"}, Stream::dev_null, "", Stream::pipe,
     program("a\n") + program("b\n") + program("\\<< 1 \\>> 'c' STO\n") +
         program("\\<< 2 \\>> 'd' STO\n") + program("\\<< 3 \\>> 'e' STO\n"),
     "", 0},
    // A read failure is the scanner's own error: bare, with status 2.
    {"DirectoryAsInput",
     {{"a.c48", "a;\n"}, {"b.c48", "b;\n"}},
     {"a.c48", ".", "b.c48"}, Stream::dev_null, "", Stream::pipe, program("a\n"),
     "input in flex scanner failed\n", 2},
    // Each program is flushed as it is finished, so a write error shows at
    // the first program, before the missing file is even looked for.
    {"WriteErrorOnFullDevice",
     {{"a.c48", "a;\n"}},
     {"a.c48", "missing.c48"}, Stream::dev_null, "", Stream::dev_full, "",
     diag("write error: No space left on device"), 1},
    {"WriteErrorOnClosedOutput",
     {{"a.c48", "a;\n"}},
     {"a.c48"}, Stream::dev_null, "", Stream::closed, "", diag("write error: Bad file descriptor"),
     1},
    {"NothingToWriteOnFullDevice",
     {{"empty.c48", "\n"}},
     {"empty.c48", "-"}, Stream::dev_null, "", Stream::dev_full, "", no_input + no_input, 0},
};

void PrintTo(const InputRun& run_case, std::ostream* os) { *os << run_case.name; }

class Inputs : public testing::TestWithParam<InputRun> {};

TEST_P(Inputs, EndAsExpected) {
  const InputRun& run_case = GetParam();
  const std::string dir = make_temp_dir();
  for (const File& file : run_case.files) write_file(dir + "/" + file.name, file.text);
  ASSERT_EQ(mkfifo((dir + "/later.fifo").c_str(), 0600), 0);

  Invocation inv;
  inv.argv = {"rplgen"};
  inv.argv.insert(inv.argv.end(), run_case.args.begin(), run_case.args.end());
  inv.cwd = dir;
  inv.stdin_kind = run_case.stdin_kind;
  if (inv.stdin_kind == Stream::file) {
    inv.stdin_path = dir + "/standard-input";
    write_file(inv.stdin_path, run_case.stdin_text);
  } else {
    inv.stdin_data = run_case.stdin_text;
  }
  inv.stdout_kind = run_case.stdout_kind;
  inv.timeout_seconds = 20;
  const Outcome got = run(inv);

  std::filesystem::remove_all(dir);
  expect_outcome(got, run_case.out, run_case.err, run_case.status);
}

INSTANTIATE_TEST_SUITE_P(Runs, Inputs, testing::ValuesIn(runs),
                         [](const testing::TestParamInfo<InputRun>& info) { return info.param.name; });

}  // namespace
