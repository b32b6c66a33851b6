// Every example in the user documentation compiles to exactly what the
// documentation says it does.
//
// Examples are read mechanically from Markdown files:
//
//  * A fenced block marked "c48" is a source. The fenced blocks right after it
//    (prose and HTML lines may stand between) that are marked "rpl" and
//    "stderr", in that order, are what rplgen prints for it on standard output
//    and standard error. A missing one means "prints nothing there". The exit
//    status is 0 unless the "stderr" block is marked "exit=N". A source marked
//    "crlf" is compiled with a carriage return before every newline, one
//    marked "bom" with a UTF-8 byte-order mark in front.
//  * In a table whose first two header cells are "Source" and "RPL", each row
//    holds a source in the first cell and, in the second, the one line that
//    the source becomes between the program's opening and closing lines. Both
//    cells are single code spans; "\|" stands for "|".
//  * In a table whose first two header cells are "Source" and "Message", each
//    row holds a source that rplgen rejects and, in the second cell, the one
//    line it writes on standard error after "rplgen: ". Nothing is written on
//    standard output, and the exit status is 1.
//  * In a table whose first two header cells are "Source" and "rplrun --check",
//    each row holds a one-line source and, in the second, the first line that
//    "rplrun --check prog.c48" writes for it on standard error.
//  * A fenced block marked "console" is a shell session. Each line beginning
//    with "$ " is a command, run by sh in a scratch copy of the source tree's
//    examples/ directory (as "examples/NAME.c48"), with rplgen and rplrun
//    first on the PATH. The lines after it, up to the next command, are what
//    it writes on standard output and standard error together. It must end
//    with status 0: a command that fails shows its status with "; echo $?".
//
// Sources are compiled from standard input, as "rplgen < file" would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>

#include "rplgen_test.h"

namespace {

struct Example {
  std::string name;  // file and line of the source, as a test name
  std::string where;
  std::string source;
  std::string out, err;
  int status = 0;
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.where; }

struct Command {
  std::string name;
  std::string where;
  std::string command;
  std::string output;
};

void PrintTo(const Command& c, std::ostream* os) { *os << c.where << ": " << c.command; }

struct Check {
  std::string name;
  std::string where;
  std::string source;
  std::string first_line;
};

void PrintTo(const Check& c, std::ostream* os) { *os << c.where; }

struct Fence {
  std::string kind;
  std::vector<std::string> attributes;
  std::string body;
  int line = 0;  // of the opening fence
};

struct Document {
  std::vector<Example> examples;
  std::vector<Check> checks;
  std::vector<Command> commands;
  std::vector<std::string> problems;
};

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Table cells of a row "| a | b |"; "\|" does not split.
std::vector<std::string> cells(const std::string& row) {
  std::vector<std::string> result;
  std::string cell;
  const std::string inner = trim(row).substr(1);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\\' && i + 1 < inner.size() && inner[i + 1] == '|') {
      cell += "\\|";
      ++i;
    } else if (inner[i] == '|') {
      result.push_back(trim(cell));
      cell.clear();
    } else {
      cell += inner[i];
    }
  }
  if (!trim(cell).empty()) result.push_back(trim(cell));
  return result;
}

// The content of a cell that is exactly one code span, or nothing.
std::optional<std::string> code_span(const std::string& cell) {
  const std::size_t ticks = cell.find_first_not_of('`');
  if (ticks == 0 || ticks == std::string::npos || cell.size() < 2 * ticks) return std::nullopt;
  const std::string fence(ticks, '`');
  if (cell.compare(cell.size() - ticks, ticks, fence) != 0) return std::nullopt;
  if (cell.size() > 2 * ticks && cell[cell.size() - ticks - 1] == '`') return std::nullopt;
  std::string content = cell.substr(ticks, cell.size() - 2 * ticks);
  if (content.find(fence) != std::string::npos) return std::nullopt;
  std::string unescaped;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\\' && i + 1 < content.size() && content[i + 1] == '|') continue;
    unescaped += content[i];
  }
  if (unescaped.size() >= 2 && unescaped.front() == ' ' && unescaped.back() == ' ' &&
      unescaped.find_first_not_of(' ') != std::string::npos) {
    unescaped = unescaped.substr(1, unescaped.size() - 2);
  }
  return unescaped;
}

std::string test_name(const std::string& file, int line) {
  std::string name = file + "_line_" + std::to_string(line);
  const auto not_alnum = [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); };
  std::replace_if(name.begin(), name.end(), not_alnum, '_');
  return name;
}

void read_session(const std::string& file, const Fence& fence, Document& doc) {
  const std::vector<std::string> lines = split_lines(fence.body);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int line = fence.line + 1 + static_cast<int>(k);
    if (lines[k].rfind("$ ", 0) != 0) {
      doc.problems.push_back(file + ":" + std::to_string(line) +
                             ": a console block holds commands, each with its output");
      return;
    }
    Command command{test_name(file, line), file + ":" + std::to_string(line), lines[k].substr(2),
                    ""};
    while (k + 1 < lines.size() && lines[k + 1].rfind("$ ", 0) != 0)
      command.output += lines[++k] + "\n";
    doc.commands.push_back(command);
  }
}

void read_document(const std::string& file, Document& doc) {
  const std::vector<std::string> lines = split_lines(harness::read_file(source_dir() + "/" + file));
  std::vector<Fence> fences;
  auto problem = [&](int line, const std::string& what) {
    doc.problems.push_back(file + ":" + std::to_string(line) + ": " + what);
  };

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (lines[i].rfind("```", 0) == 0) {
      const std::string marker = lines[i].substr(0, lines[i].find_first_not_of('`'));
      Fence fence;
      fence.line = line;
      std::istringstream info(lines[i].substr(marker.size()));
      info >> fence.kind;
      for (std::string word; info >> word;) fence.attributes.push_back(word);
      std::size_t j = i + 1;
      while (j < lines.size() && trim(lines[j]) != marker) fence.body += lines[j++] + "\n";
      if (j == lines.size()) problem(line, "unclosed fenced block");
      fences.push_back(fence);
      i = j;
      continue;
    }
    if (lines[i].rfind("|", 0) == 0) {
      const std::vector<std::string> header = cells(lines[i]);
      std::size_t j = i + 1;
      while (j < lines.size() && lines[j].rfind("|", 0) == 0) ++j;
      const bool rpl_table = header.size() >= 2 && header[0] == "Source" && header[1] == "RPL";
      const bool message_table =
          header.size() >= 2 && header[0] == "Source" && header[1] == "Message";
      const bool check_table =
          header.size() >= 2 && header[0] == "Source" && header[1] == "rplrun --check";
      if (rpl_table || message_table || check_table) {
        for (std::size_t r = i + 2; r < j; ++r) {
          const std::vector<std::string> row = cells(lines[r]);
          const int row_line = static_cast<int>(r) + 1;
          const auto source = row.size() >= 2 ? code_span(row[0]) : std::nullopt;
          const auto result = row.size() >= 2 ? code_span(row[1]) : std::nullopt;
          if (!source || !result) {
            problem(row_line,
                    "a row of a Source/RPL or Source/Message table needs one code span in each "
                    "of its first two cells");
            continue;
          }
          if (check_table) {
            doc.checks.push_back({test_name(file, row_line),
                                  file + ":" + std::to_string(row_line), *source + "\n", *result});
            continue;
          }
          Example example{test_name(file, row_line), file + ":" + std::to_string(row_line),
                          *source + "\n", "", "", 0};
          if (rpl_table) {
            example.out = program(*result + "\n");
          } else {
            example.err = diag(*result);
            example.status = 1;
          }
          doc.examples.push_back(example);
        }
      }
      i = j - 1;
    }
  }

  for (std::size_t f = 0; f < fences.size(); ++f) {
    const Fence& fence = fences[f];
    if (fence.kind == "rpl" || fence.kind == "stderr") {
      problem(fence.line, "an output block must follow a c48 block");
      continue;
    }
    if (fence.kind == "console") {
      read_session(file, fence, doc);
      continue;
    }
    if (fence.kind != "c48") continue;
    const std::string where = file + ":" + std::to_string(fence.line);
    Example example{test_name(file, fence.line), where, fence.body, "", "", 0};
    if (std::count(fence.attributes.begin(), fence.attributes.end(), "crlf") > 0) {
      std::string converted;
      for (char c : example.source) {
        converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
      }
      example.source = converted;
    }
    if (std::count(fence.attributes.begin(), fence.attributes.end(), "bom") > 0) {
      example.source = "\xef\xbb\xbf" + example.source;
    }
    std::size_t next = f + 1;
    if (next < fences.size() && fences[next].kind == "rpl") example.out = fences[next++].body;
    if (next < fences.size() && fences[next].kind == "stderr") {
      example.err = fences[next].body;
      for (const std::string& attribute : fences[next].attributes) {
        if (attribute.rfind("exit=", 0) == 0) example.status = std::stoi(attribute.substr(5));
      }
      ++next;
    }
    if (next == f + 1) problem(fence.line, "a c48 block needs an rpl or stderr block after it");
    f = next - 1;
    doc.examples.push_back(example);
  }
}

// The documents and the least number of examples and commands each must
// yield, so that a change of layout that hides them from this test does not go
// unnoticed.
struct Least {
  std::size_t examples;
  std::size_t commands;
};
const std::vector<std::pair<std::string, Least>> documents = {
    {"docs/language.md", {60, 15}},
    {"README.md", {1, 1}},
};

const Document& all_documents() {
  static const Document doc = [] {
    Document d;
    for (const auto& [file, least] : documents) {
      const std::size_t examples = d.examples.size();
      const std::size_t commands = d.commands.size();
      read_document(file, d);
      if (d.examples.size() - examples < least.examples) {
        d.problems.push_back(file + ": only " + std::to_string(d.examples.size() - examples) +
                             " examples found, expected at least " +
                             std::to_string(least.examples));
      }
      if (d.commands.size() - commands < least.commands) {
        d.problems.push_back(file + ": only " + std::to_string(d.commands.size() - commands) +
                             " console commands found, expected at least " +
                             std::to_string(least.commands));
      }
    }
    return d;
  }();
  return doc;
}

TEST(Documentation, ExamplesAreWellFormed) {
  for (const std::string& problem : all_documents().problems) ADD_FAILURE() << problem;
}

class DocumentedExample : public testing::TestWithParam<Example> {};

TEST_P(DocumentedExample, CompilesAsShown) {
  const Example& e = GetParam();
  SCOPED_TRACE(e.where);
  harness::expect_outcome(run_rplgen({}, e.source), e.out, e.err, e.status);
}

INSTANTIATE_TEST_SUITE_P(Docs, DocumentedExample, testing::ValuesIn(all_documents().examples),
                         [](const testing::TestParamInfo<Example>& info) {
                           return info.param.name;
                         });

class DocumentedCheck : public testing::TestWithParam<Check> {};

TEST_P(DocumentedCheck, SaysAsShown) {
  const Check& c = GetParam();
  SCOPED_TRACE(c.where);
  harness::Invocation inv;
  inv.program = RPLRUN_BINARY;
  inv.argv = {"rplrun", "--check", "prog.c48"};
  inv.files.push_back({"prog.c48", c.source});
  inv.stdin_kind = harness::Stream::dev_null;
  const harness::Outcome outcome = harness::run(inv);
  EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), c.first_line);
  EXPECT_EQ(outcome.out, "");
}

INSTANTIATE_TEST_SUITE_P(Docs, DocumentedCheck, testing::ValuesIn(all_documents().checks),
                         [](const testing::TestParamInfo<Check>& info) {
                           return info.param.name;
                         });

std::string directory_of(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

// Runs shell commands as a reader at the top of the source tree would, with
// both programs first on the PATH, in a scratch copy of the examples; standard
// error goes where standard output does.
harness::Outcome run_shell(const std::string& commands) {
  namespace fs = std::filesystem;
  const fs::path scratch = harness::make_temp_dir();
  fs::copy(source_dir() + "/examples", scratch / "examples", fs::copy_options::recursive);
  harness::Invocation inv;
  inv.program = "/bin/sh";
  inv.argv = {"sh", "-c",
              "PATH='" + directory_of(RPLRUN_BINARY) + ":" + directory_of(rplgen_path()) +
                  "':\"$PATH\"\n{ " + commands + "\n} 2>&1"};
  inv.cwd = scratch.string();
  inv.stdin_kind = harness::Stream::dev_null;
  const harness::Outcome outcome = harness::run(inv);
  fs::remove_all(scratch);
  return outcome;
}

class DocumentedCommand : public testing::TestWithParam<Command> {};

TEST_P(DocumentedCommand, PrintsAsShown) {
  const Command& c = GetParam();
  SCOPED_TRACE(c.where);
  harness::expect_outcome(run_shell(c.command), c.output, "", 0);
}

// The README's line that starts with `start` and holds `holding`.
std::string readme_line(const std::string& start, const std::string& holding) {
  for (const std::string& line : split_lines(harness::read_file(source_dir() + "/README.md"))) {
    if (line.rfind(start, 0) == 0 && line.find(holding) != std::string::npos) return line;
  }
  ADD_FAILURE() << "README.md has no line starting with \"" << start << "\" and holding \""
                << holding << "\"";
  return "";
}

// The first set-up command ends by running an example, whose output the
// README states after it.
TEST(Documentation, ReadmeSetUpRunsAnExample) {
  std::string command = readme_line("apt-get update", "-DBUILD_TESTING=OFF && ");
  command = command.substr(command.rfind("&& ") + 3);
  for (const std::string program : {"rplgen", "rplrun"}) {
    const std::string built = "build/src/" + program + "/" + program;
    for (std::size_t at; (at = command.find(built)) != std::string::npos;)
      command.replace(at, built.size(), program);
  }
  const std::string readme = harness::read_file(source_dir() + "/README.md");
  const std::string marker = "It ends by printing `";
  const std::size_t begin = readme.find(marker);
  ASSERT_NE(begin, std::string::npos) << "README.md does not say what the set-up prints";
  const std::size_t end = readme.find('`', begin + marker.size());
  const std::string stated = readme.substr(begin + marker.size(), end - begin - marker.size());
  harness::expect_outcome(run_shell(command), stated + "\n", "", 0);
}

// CI runs the README's test command.
TEST(Documentation, ReadmeTestCommandIsTheOneCiRuns) {
  const std::string command = readme_line("apt-get update", "ctest --test-dir build");
  const std::string ci = harness::read_file(source_dir() + "/.ci/run");
  EXPECT_NE(ci.find("\n" + command + "\n"), std::string::npos)
      << ".ci/run does not run the README's test command:\n" << command;
}

INSTANTIATE_TEST_SUITE_P(Docs, DocumentedCommand, testing::ValuesIn(all_documents().commands),
                         [](const testing::TestParamInfo<Command>& info) {
                           return info.param.name;
                         });

}  // namespace
