// Golden cases: runs of a built program, with what they must print, written many to a
// text file, one file per topic. Both programs' golden suites read this one format.
//
// A topic file holds cases separated by blank lines. The lines of a case, by their
// first character (then one blank, then the text):
//
//   # text     a comment (also a line of its own between cases)
//   $ args     arguments put first on the command line, split at blanks; {src} in them
//              and in the expected standard error stands for the top of the source tree
//   > text     RPL given as "-e TEXT"; several such lines are joined with newlines
//   < text     a line of standard input, which is then given as FILE "-"
//   @ path     a file of the source tree that the program's suite gives in its own way
//              (rplrun: standard input is rplgen's translation of it)
//   : text     a line of the source file prog.c48, written to the working directory
//              and given as FILE (after the -e text, before the operands)
//   + text     an operand, after FILE
//   ! text     a line expected on standard error
//   = N        the expected exit status (0 when absent)
//   | text     a line expected on standard output, written this way when it is empty
//              or starts with one of the characters above
//   other      a line expected on standard output, as it is
//
// Lines are taken byte for byte: a source line may hold any byte but a newline. The
// command line is: PROGRAM ARGS [-e TEXT] [-|prog.c48] [OPERANDS], in a scratch
// directory, standard input on /dev/null unless the case gives some. A case is named
// after its file and the line where it starts.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "harness.h"

namespace harness {

struct GoldenCase {
  std::string name;  // TOPIC_LINE
  std::string file;
  int line = 0;
  std::vector<std::string> args;
  std::vector<std::string> rpl;
  std::vector<std::string> operands;
  std::string input;
  bool has_input = false;
  std::string path;  // the "@" line
  std::string source;
  bool has_source = false;
  std::string out;
  std::string err;
  int status = 0;
};

void PrintTo(const GoldenCase& c, std::ostream* os);

// The cases of every TOPIC.txt in `dir`, topics in name order; {src} stands for
// `source_dir`.
std::vector<GoldenCase> read_golden_cases(const std::string& dir, const std::string& source_dir);

// The case's command line for `program`, run as `name`.
Invocation golden_invocation(const GoldenCase& c, const std::string& program,
                             const std::string& name);

// A test name for a value-parameterized suite of golden cases.
inline std::string golden_test_name(const testing::TestParamInfo<GoldenCase>& info) {
  return info.param.name;
}

}  // namespace harness
