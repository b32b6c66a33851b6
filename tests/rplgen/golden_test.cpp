// Golden cases, byte for byte through the real binary: the topic files under
// tests/rplgen/golden (the format is in golden.h; a case's source is its ":"
// lines, or the file of the source tree that its "@" line names, shared with
// rplrun's cases; it is compiled as "rplgen prog.c48"), and the examples, each
// NAME.c48 with NAME.out beside it, the whole standard output of "rplgen NAME.c48".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "golden.h"
#include "rplgen_test.h"

namespace fs = std::filesystem;

namespace {

using harness::GoldenCase;

std::vector<GoldenCase> find_cases() {
  std::vector<GoldenCase> cases =
      harness::read_golden_cases(source_dir() + "/tests/rplgen/golden", source_dir());
  std::vector<fs::path> examples;
  for (const auto& entry : fs::directory_iterator(fs::path(source_dir()) / "examples")) {
    if (entry.path().extension() == ".c48") examples.push_back(entry.path());
  }
  std::sort(examples.begin(), examples.end());
  for (const fs::path& example : examples) {
    GoldenCase c;
    c.name = "examples_" + example.stem().string();
    c.file = example.string();
    c.source = harness::read_file(example.string());
    c.has_source = true;
    c.out = harness::read_file(fs::path(example).replace_extension(".out").string());
    cases.push_back(std::move(c));
  }
  return cases;
}

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesExpectedOutput) {
  GoldenCase c = GetParam();
  if (!c.path.empty()) {
    c.source = harness::read_file(source_dir() + "/" + c.path);
    c.has_source = true;
  }
  harness::expect_outcome(harness::run(harness::golden_invocation(c, rplgen_path(), "rplgen")),
                          c.out, c.err, c.status);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(find_cases()), harness::golden_test_name);

}  // namespace
