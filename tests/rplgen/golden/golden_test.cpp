// Golden cases, byte for byte through the real binary.
//
// A case is a source file NAME.c48 with NAME.out beside it (the expected
// standard output), and optionally NAME.err (standard error; empty if absent)
// and NAME.status (the exit status; 0 if absent). The compiler runs as
// "rplgen NAME.c48" in the case's directory, so diagnostics read
// "rplgen: ...". Cases live under tests/rplgen/golden/ and examples/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "rplgen_test.h"

namespace fs = std::filesystem;

namespace {

struct Case {
  fs::path source;
  std::string name;  // a test name: the path below its root, with "_" for "/"
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.source.string(); }

std::vector<Case> find_cases() {
  std::vector<Case> cases;
  for (const char* root : {"tests/rplgen/golden", "examples"}) {
    const fs::path top = fs::path(source_dir()) / root;
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
      if (entry.path().extension() != ".c48") continue;
      std::string name = fs::path(root).filename().string() + "/" +
                         entry.path().lexically_relative(top).replace_extension().string();
      const auto not_alnum = [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); };
      std::replace_if(name.begin(), name.end(), not_alnum, '_');
      cases.push_back({entry.path(), name});
    }
  }
  std::sort(cases.begin(), cases.end(),
            [](const Case& a, const Case& b) { return a.name < b.name; });
  return cases;
}

std::string read_optional(const fs::path& path, const std::string& otherwise) {
  return fs::exists(path) ? harness::read_file(path.string()) : otherwise;
}

class Golden : public testing::TestWithParam<Case> {};

TEST_P(Golden, MatchesExpectedOutput) {
  const fs::path& source = GetParam().source;
  fs::path expected = source;
  ASSERT_TRUE(fs::exists(expected.replace_extension(".out"))) << "missing " << expected;

  harness::Invocation inv = rplgen_invocation({source.filename().string()});
  inv.cwd = source.parent_path().string();
  inv.stdin_kind = harness::Stream::dev_null;
  const harness::Outcome got = harness::run(inv);

  const std::string status = read_optional(expected.replace_extension(".status"), "0");
  harness::expect_outcome(got, harness::read_file(expected.replace_extension(".out").string()),
                          read_optional(expected.replace_extension(".err"), ""),
                          std::stoi(status));
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(find_cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
