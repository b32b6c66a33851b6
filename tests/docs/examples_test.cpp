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
//
// Sources are compiled from standard input, as "rplgen < file" would.
#include <gtest/gtest.h>

#include <algorithm>
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

struct Fence {
  std::string kind;
  std::vector<std::string> attributes;
  std::string body;
  int line = 0;  // of the opening fence
};

struct Document {
  std::vector<Example> examples;
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
      if (rpl_table || message_table) {
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

// The documents and the least number of examples each must yield, so that a
// change of layout that hides examples from this test does not go unnoticed.
const std::vector<std::pair<std::string, std::size_t>> documents = {
    {"docs/language.md", 60},
    {"README.md", 1},
};

const Document& all_documents() {
  static const Document doc = [] {
    Document d;
    for (const auto& [file, least] : documents) {
      const std::size_t before = d.examples.size();
      read_document(file, d);
      if (d.examples.size() - before < least) {
        d.problems.push_back(file + ": only " + std::to_string(d.examples.size() - before) +
                             " examples found, expected at least " + std::to_string(least));
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

}  // namespace
