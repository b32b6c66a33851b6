// VS Code's problem matcher for rplrun --check (editors/vscode/package.json), applied
// as VS Code applies it, a regular expression of JavaScript's kind to each line, to
// what rplrun --check really writes: each error and warning is found with its file,
// line, column, severity and message, and nothing else is.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "rplgen_test.h"

namespace {

// The matcher's pattern, as the JSON string in the manifest spells it.
std::string matcher_pattern() {
  const std::string manifest = harness::read_file(source_dir() + "/editors/vscode/package.json");
  const std::string key = "\"regexp\": \"";
  const std::size_t start = manifest.find(key);
  if (start == std::string::npos) return "";
  std::string pattern;
  for (std::size_t i = start + key.size(); i < manifest.size() && manifest[i] != '"'; ++i) {
    if (manifest[i] == '\\') ++i;  // JSON escapes: \\ is one backslash
    pattern += manifest[i];
  }
  return pattern;
}

struct Problem {
  std::string file, line, column, severity, message;
  bool operator==(const Problem&) const = default;
};

void PrintTo(const Problem& p, std::ostream* os) {
  *os << p.file << ":" << p.line << ":" << p.column << ": " << p.severity << ": " << p.message;
}

TEST(ProblemMatcher, FindsEachErrorAndWarningOfRplrunCheck) {
  const std::string pattern = matcher_pattern();
  ASSERT_FALSE(pattern.empty());
  const std::regex matcher(pattern, std::regex::ECMAScript);
  harness::Invocation inv;
  inv.program = RPLRUN_BINARY;
  inv.argv = {"rplrun", "--check", "ok.c48", "other.c48"};
  inv.files.push_back({"ok.c48", "y = -x ** 2;\n"});
  inv.files.push_back({"other.c48", "while (x > 0) {\n  x = 1 z = 2;\n"});
  inv.stdin_kind = harness::Stream::dev_null;
  const harness::Outcome outcome = harness::run(inv);
  std::vector<Problem> found;
  std::istringstream lines(outcome.err);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, matcher)) found.push_back({m[1], m[2], m[3], m[4], m[5]});
  }
  const std::vector<Problem> expected = {
      {"ok.c48", "1", "5", "warning",
       "unary minus binds tighter than '**' here: this is (-a) ** b, not -(a ** b)"},
      {"other.c48", "2", "9", "error", "expected ';' before 'z'"},
  };
  EXPECT_EQ(found, expected) << outcome.err;
}

}  // namespace
