#include "support/origins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rpl {
namespace {

// Tracking on for one test, off again after it, whatever happens.
struct Tracking {
  Tracking() { track_origins(true); }
  ~Tracking() { track_origins(false); }
};

std::vector<std::uint32_t> origins_of(Text* text) {
  const TextPtr owned(text);
  std::vector<std::uint32_t> out;
  append_origins(owned.get(), out);
  EXPECT_EQ(out.size(), text_view(owned.get()).size());
  return out;
}

using Origins = std::vector<std::uint32_t>;

TEST(Origins, LiteralBytesTakeTheCurrentOriginArgumentsKeepTheirs) {
  const Tracking on;
  set_origin(7);
  Text* left = xstrdup(std::string_view("ab"));
  set_origin(3);
  Text* right = xstrdup(std::string_view("c"));
  set_origin(9);
  EXPECT_EQ(origins_of(xstrfmt("%s %s +", left, right)), (Origins{7, 7, 9, 3, 9, 9}));
}

TEST(Origins, BytesCopiedFromTheSourceCountUpFromTheirPlace) {
  const Tracking on;
  const std::string lexeme = "@<< DUP >>";
  set_origin_source(lexeme, 40);
  set_origin(40);
  Text* inner = xstrdup(std::string_view(lexeme).substr(3, 5));
  EXPECT_EQ(origins_of(xstrfmt("<%s>", inner)), (Origins{40, 43, 44, 45, 46, 47, 40}));
}

TEST(Origins, SurviveGrowingCopyingAndAppending) {
  const Tracking on;
  set_origin(1);
  Text* chain = xstrdup(std::string_view("v"));
  Origins expected{1};
  for (std::uint32_t i = 2; i < 300; ++i) {
    set_origin(i);
    if (i % 2 == 1) {
      chain = xstrfmt("(%s)", chain);
      expected.insert(expected.begin(), i);
    } else {
      chain = text_append(chain, "!");
    }
    expected.push_back(i);
  }
  const TextPtr kept(chain);
  set_origin(500);
  Text* copy = text_append(xstrdup(kept.get()), xstrdup(std::string_view("z")));
  expected.push_back(500);
  set_origin(501);
  Text* item = xstrdup(std::string_view("w"));
  set_origin(502);
  copy = text_append(copy, ",", item);
  expected.insert(expected.end(), {502, 501});
  EXPECT_EQ(origins_of(copy), expected);
}

// A text of megabytes appended to another is moved over by pages, origins and
// all.
TEST(Origins, AppendingTextsOfMegabytes) {
  const Tracking on;
  const std::size_t size = 3 << 19;
  for (const char* separator : {"", ","}) {
    set_origin(1);
    Text* first = xstrdup(std::string(size, 'a'));
    set_origin(2);
    Text* second = xstrdup(std::string(size, 'b'));
    set_origin(3);
    Text* joined =
        *separator == '\0' ? text_append(first, second) : text_append(first, separator, second);
    Origins expected(size, 1);
    if (*separator != '\0') expected.push_back(3);
    expected.insert(expected.end(), size, 2);
    EXPECT_EQ(origins_of(joined), expected);
  }
}

TEST(Origins, TruncatedTextsKeepTheOriginsOfWhatIsLeft) {
  const Tracking on;
  set_origin(1);
  Text* left = xstrdup(std::string_view("ab"));
  set_origin(2);
  Text* text = xstrfmt("%s cd", left);  // origins 1 1 2 2 2
  text = text_truncate(text, 3);
  set_origin(3);
  text = text_append(text, "x");
  EXPECT_EQ(origins_of(text), (Origins{1, 1, 2, 3}));
  set_origin(4);
  EXPECT_EQ(origins_of(text_truncate(xstrdup(std::string_view("abc")), 0)), Origins{});
}

TEST(Origins, NothingIsRecordedWithoutTracking) {
  set_origin(5);
  EXPECT_EQ(origins_of(xstrdup(std::string_view("xy"))), (Origins{0, 0}));
}

}  // namespace
}  // namespace rpl
