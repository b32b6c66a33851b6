// Golden cases of rplrun, byte for byte through the built binary: the topic files
// tests/rplrun/golden/TOPIC.txt, in the format that tests/harness/golden.h describes.
// A case's "@ path" line makes standard input rplgen's translation of that file of the
// source tree, given as FILE "-"; the case is also run with that file itself as FILE,
// which must print the same and end with the same status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "golden.h"
#include "rplrun_test.h"

namespace fs = std::filesystem;

namespace {

using harness::GoldenCase;
using harness::Invocation;
using harness::Outcome;

class RplrunGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(RplrunGolden, Run) {
  GoldenCase c = GetParam();
  const std::string translated_file = (fs::path(source_dir()) / c.path).string();
  if (!c.path.empty()) {
    Invocation rplgen;
    rplgen.program = rplgen_path();
    rplgen.argv = {"rplgen", translated_file};
    const Outcome translated = harness::run(rplgen);
    ASSERT_EQ(translated.status, 0) << translated.err;
    c.input = translated.out;
    c.has_input = true;
  }
  Invocation inv = harness::golden_invocation(c, rplrun_path(), "rplrun");
  harness::expect_outcome(harness::run(inv), c.out, c.err, c.status);
  if (!c.path.empty()) {
    // The source run as it is: the same answers, its positions in the source.
    *std::find(inv.argv.begin(), inv.argv.end(), "-") = translated_file;
    inv.stdin_kind = harness::Stream::dev_null;
    inv.stdin_data.clear();
    const Outcome direct = harness::run(inv);
    EXPECT_EQ(direct.out, c.out);
    EXPECT_EQ(direct.status, c.status) << direct.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RplrunGolden,
                         testing::ValuesIn(harness::read_golden_cases(
                             source_dir() + "/tests/rplrun/golden", source_dir())),
                         harness::golden_test_name);

}  // namespace
