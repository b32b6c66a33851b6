// Golden cases of rplrun, byte for byte through the built binary.
//
// Each file tests/rplrun/golden/TOPIC.txt holds cases separated by blank lines. The
// lines of a case, by their first character:
//
//   # text     a comment (also a line of its own between cases)
//   $ args     arguments put first on the command line, split at blanks; {src} in them
//              and in the expected standard error stands for the top of the source tree
//   > text     RPL given as "-e TEXT"; several such lines are joined with newlines
//   < text     a line of standard input, which is then given as FILE "-"
//   @ path     standard input is rplgen's translation of that file of the source tree,
//              given as FILE "-"; the case is also run with that file itself as FILE,
//              which must print the same and end with the same status
//   : text     a line of the source file prog.c48, written to the working directory
//              and given as FILE (after the -e text, before the operands)
//   + text     an RPL operand, after FILE
//   ! text     a line expected on standard error
//   = N        the expected exit status (0 when absent)
//   | text     a line expected on standard output, written this way when it is empty
//              or starts with one of the characters above
//   other      a line expected on standard output, as it is
//
// The command line is: rplrun ARGS [-e TEXT] [-|prog.c48] [OPERANDS]. A case is named
// after its file and the line where it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "harness.h"

namespace fs = std::filesystem;

namespace {

using harness::Invocation;
using harness::Outcome;
using harness::Stream;

std::string source_dir() { return RPLRUN_SOURCE_DIR; }

struct Case {
  std::string name;
  fs::path file;
  int line = 0;
  std::vector<std::string> args;
  std::vector<std::string> rpl;
  std::vector<std::string> operands;
  std::string input;
  bool has_input = false;
  std::string translate;  // a source file for rplgen
  std::string source;     // prog.c48
  bool has_source = false;
  std::string out;
  std::string err;
  int status = 0;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.file.filename().string() << ":" << c.line;
}

std::vector<std::string> split_blanks(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string with_source_dir(std::string text) {
  for (std::size_t at; (at = text.find("{src}")) != std::string::npos;)
    text.replace(at, 5, source_dir());
  return text;
}

std::vector<Case> read_cases(const fs::path& file) {
  std::vector<Case> cases;
  std::ifstream in(file);
  std::string line;
  int number = 0;
  Case current;
  bool open = false;
  auto finish = [&] {
    if (open) cases.push_back(current);
    open = false;
    current = Case();
  };
  while (std::getline(in, line)) {
    ++number;
    if (line.empty()) {
      finish();
      continue;
    }
    const char kind = line[0];
    const std::string rest = line.size() >= 2 ? line.substr(2) : "";
    if (kind == '#' && !open) continue;
    if (!open) {
      open = true;
      current.file = file;
      current.line = number;
      current.name = file.stem().string() + "_" + std::to_string(number);
    }
    switch (kind) {
      case '#': break;
      case '$': {
        const auto words = split_blanks(with_source_dir(rest));
        current.args.insert(current.args.end(), words.begin(), words.end());
        break;
      }
      case '>': current.rpl.push_back(rest); break;
      case '<':
        current.input += rest + "\n";
        current.has_input = true;
        break;
      case '@':
        current.translate = rest;
        current.has_input = true;
        break;
      case ':':
        current.source += rest + "\n";
        current.has_source = true;
        break;
      case '+': current.operands.push_back(rest); break;
      case '!': current.err += with_source_dir(rest) + "\n"; break;
      case '=': current.status = std::stoi(rest); break;
      case '|': current.out += rest + "\n"; break;
      default: current.out += line + "\n"; break;
    }
  }
  finish();
  return cases;
}

std::vector<Case> all_cases() {
  std::vector<Case> cases;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(source_dir()) / "tests/rplrun/golden")) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    const auto found = read_cases(file);
    cases.insert(cases.end(), found.begin(), found.end());
  }
  return cases;
}

class RplrunGolden : public testing::TestWithParam<Case> {};

TEST_P(RplrunGolden, Run) {
  const Case& c = GetParam();
  Invocation inv;
  inv.program = RPLRUN_BINARY;
  inv.argv = {"rplrun"};
  inv.argv.insert(inv.argv.end(), c.args.begin(), c.args.end());
  if (!c.rpl.empty()) {
    std::string text;
    for (std::size_t k = 0; k < c.rpl.size(); ++k) text += (k ? "\n" : "") + c.rpl[k];
    inv.argv.push_back("-e");
    inv.argv.push_back(text);
  }
  if (c.has_input) inv.argv.push_back("-");
  if (c.has_source) {
    inv.argv.push_back("prog.c48");
    inv.files.push_back({"prog.c48", c.source});
  }
  inv.argv.insert(inv.argv.end(), c.operands.begin(), c.operands.end());
  inv.stdin_data = c.input;
  if (!c.translate.empty()) {
    Invocation rplgen;
    rplgen.program = RPLGEN_BINARY;
    rplgen.argv = {"rplgen", (fs::path(source_dir()) / c.translate).string()};
    const Outcome translated = harness::run(rplgen);
    ASSERT_EQ(translated.status, 0) << translated.err;
    inv.stdin_data = translated.out;
  }
  if (!c.has_input) inv.stdin_kind = Stream::dev_null;
  harness::expect_outcome(harness::run(inv), c.out, c.err, c.status);
  if (!c.translate.empty()) {
    // The source run as it is: the same answers, its positions in the source.
    auto dash = std::find(inv.argv.begin(), inv.argv.end(), "-");
    *dash = (fs::path(source_dir()) / c.translate).string();
    inv.stdin_kind = Stream::dev_null;
    inv.stdin_data.clear();
    const Outcome direct = harness::run(inv);
    EXPECT_EQ(direct.out, c.out);
    EXPECT_EQ(direct.status, c.status) << direct.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RplrunGolden, testing::ValuesIn(all_cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
