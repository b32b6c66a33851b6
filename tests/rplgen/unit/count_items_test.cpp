// The number of targets of a list store is counted from the commas of their
// text, wherever the commas stand.
#include <gtest/gtest.h>

#include "rplgen/translate/statements.h"

namespace rplgen {
namespace {

TEST(CountItems, CountsEveryCommaPlusOne) {
  const auto count = [](std::string_view s) {
    const rpl::TextPtr t(rpl::xstrdup(s));
    return count_items(t.get());
  };
  EXPECT_EQ(count(""), 1);
  EXPECT_EQ(count("abc"), 1);
  EXPECT_EQ(count("a,b,c"), 3);
  EXPECT_EQ(count("a,'m(1,2)' EVAL"), 3);
}

}  // namespace
}  // namespace rplgen
