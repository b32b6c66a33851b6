#include "harness.h"

namespace harness {

testing::AssertionResult same_bytes(const std::string& got, const std::string& want) {
  if (got == want) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  const auto excerpt = [at](const std::string& s) {
    const std::size_t from = at < 40 ? 0 : at - 40;
    return testing::PrintToString(s.substr(from, 80));
  };
  return testing::AssertionFailure() << "sizes " << got.size() << " and " << want.size()
                                     << ", first difference at byte " << at << "\n  got:  "
                                     << excerpt(got) << "\n  want: " << excerpt(want);
}

void expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                    int status) {
  ASSERT_FALSE(got.timed_out);
  EXPECT_EQ(got.signal, 0);
  EXPECT_TRUE(same_bytes(got.out, out)) << "standard output";
  EXPECT_TRUE(same_bytes(got.err, err)) << "standard error";
  EXPECT_EQ(got.status, status);
}

}  // namespace harness
