// A .c48 source is compiled by rplrun with rplgen's own translation: what rplgen
// accepts, rplrun accepts, and the reverse, and the RPL that rplrun runs is byte for
// byte what rplgen writes. Checked on every example, every source among rplgen's
// golden cases, sources nested to the parser's limit, and, when RPL_C48_CORPUS names a
// directory (a fuzzer's queue), on every file in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "golden.h"
#include "rplrun_test.h"
#include "rplgen/check/compile.h"

namespace fs = std::filesystem;

namespace {

struct Source {
  std::string name;
  std::string bytes;
};

void PrintTo(const Source& s, std::ostream* os) { *os << s.name; }

std::string repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

std::vector<Source> sources() {
  std::vector<Source> found;
  const fs::path top = source_dir();
  std::vector<fs::path> files;
  for (const char* dir : {"examples", "tests/rplgen/golden/files", "tests/rplrun/golden/files"}) {
    for (const auto& entry : fs::recursive_directory_iterator(top / dir)) {
      if (entry.path().extension() == ".c48") files.push_back(entry.path());
    }
  }
  if (const char* corpus = std::getenv("RPL_C48_CORPUS")) {
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    found.push_back({fs::relative(file, top).string(), harness::read_file(file.string())});
  }
  for (const harness::GoldenCase& c :
       harness::read_golden_cases((top / "tests/rplgen/golden").string(), top.string())) {
    if (c.has_source) found.push_back({"rplgen_" + c.name, c.source});
  }
  // The parser's stack holds 10000 entries: the deepest nesting accepted, and one more.
  found.push_back({"parentheses_9996", repeated("(", 9996) + "x" + repeated(")", 9996) + ";"});
  found.push_back({"parentheses_9997", repeated("(", 9997) + "x" + repeated(")", 9997) + ";"});
  found.push_back({"blocks_9996", repeated("{", 9996) + repeated("}", 9996)});
  found.push_back({"blocks_9997", repeated("{", 9997) + repeated("}", 9997)});
  found.push_back({"empty", ""});
  found.push_back({"nul_bytes", std::string("x = \"a\0b\";\ny = `\0`;\n", 20)});
  return found;
}

class C48Equivalence : public testing::TestWithParam<Source> {};

TEST_P(C48Equivalence, SameAcceptanceAndSameRpl) {
  const Source& source = GetParam();
  harness::Invocation rplgen;
  rplgen.program = rplgen_path();
  rplgen.argv = {"rplgen", "prog.c48"};
  rplgen.files.push_back({"prog.c48", source.bytes});
  rplgen.stdin_kind = harness::Stream::dev_null;
  const harness::Outcome written = harness::run(rplgen);
  const rplgen::check::Compilation compiled =
      rplgen::check::compile(source.bytes, [](std::string_view) { return false; });
  ASSERT_EQ(compiled.compiled, written.status == 0) << written.err;
  if (compiled.compiled) {
    EXPECT_EQ(compiled.rpl, written.out);
    EXPECT_EQ(compiled.origins.size(), compiled.rpl.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, C48Equivalence, testing::ValuesIn(sources()),
                         [](const testing::TestParamInfo<Source>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name + "_" + std::to_string(info.index);
                         });

}  // namespace
