#include "support/charset.h"

#include <gtest/gtest.h>

namespace rpl {
namespace {

struct ReadCase {
  std::string_view bytes;
  Utf8Character::Kind kind;
  int hp;  // when kind is hp
  std::size_t length;
};

// Each row: the bytes at the start of a text, and what one character read there is.
const ReadCase read_cases[] = {
    {"A", Utf8Character::hp, 'A', 1},
    {"x", Utf8Character::hp, 'x', 1},
    {"x\xCC\x84y", Utf8Character::hp, 129, 3},   // x and a combining macron
    {"\xC2\xB0", Utf8Character::hp, 176, 2},     // degree sign
    {"\xC2\xA0", Utf8Character::hp, 160, 2},     // no-break space
    {"\xC3\xBF", Utf8Character::hp, 255, 2},     // y with diaeresis
    {"\xCF\x80", Utf8Character::hp, 135, 2},     // pi
    {"\xE2\x88\x9A", Utf8Character::hp, 131, 3}, // square root
    {"\xE2\x86\x92", Utf8Character::hp, 141, 3}, // right arrow
    {"\xE2\x88\x9E", Utf8Character::hp, 159, 3}, // infinity
    {"\xC2\x80", Utf8Character::not_hp, 0, 2},   // a C1 control is no HP character
    {"\xCC\x84", Utf8Character::not_hp, 0, 2},   // a macron alone
    {"\xE2\x82\xAC", Utf8Character::not_hp, 0, 3},      // euro sign
    {"\xF0\x9F\x98\x80", Utf8Character::not_hp, 0, 4},  // an emoji
    {"\xF4\x8F\xBF\xBF", Utf8Character::not_hp, 0, 4},  // U+10FFFF
    {"\xED\x9F\xBF", Utf8Character::not_hp, 0, 3},      // U+D7FF, just below the surrogates
    {"\xC0\xAF", Utf8Character::invalid, 0, 1},         // overlong "/"
    {"\xC1\xBF", Utf8Character::invalid, 0, 1},
    {"\xE0\x80\xAF", Utf8Character::invalid, 0, 1},     // overlong in three bytes
    {"\xE0\x9F\xBF", Utf8Character::invalid, 0, 1},
    {"\xF0\x8F\xBF\xBF", Utf8Character::invalid, 0, 1}, // overlong in four bytes
    {"\xED\xA0\x80", Utf8Character::invalid, 0, 1},     // a surrogate
    {"\xED\xBF\xBF", Utf8Character::invalid, 0, 1},
    {"\xF4\x90\x80\x80", Utf8Character::invalid, 0, 1}, // beyond U+10FFFF
    {"\xF5\x80\x80\x80", Utf8Character::invalid, 0, 1},
    {"\xB0", Utf8Character::invalid, 0, 1},             // a continuation byte first
    {"\xC2", Utf8Character::invalid, 0, 1},             // cut short
    {"\xE2\x88", Utf8Character::invalid, 0, 1},
    {"\xE2\x28\xA1", Utf8Character::invalid, 0, 1},     // not a continuation
    {"\xFF", Utf8Character::invalid, 0, 1},
};

TEST(Charset, ReadsOneUtf8Character) {
  for (const ReadCase& c : read_cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    const Utf8Character read = read_utf8(c.bytes);
    EXPECT_EQ(read.kind, c.kind);
    if (c.kind == Utf8Character::hp) {
      EXPECT_EQ(read.character, c.hp);
    }
    EXPECT_EQ(read.length, c.length);
    // A text is UTF-8 exactly when each of its characters is valid.
    EXPECT_EQ(is_utf8(c.bytes.substr(0, c.length)), c.kind != Utf8Character::invalid);
  }
  EXPECT_TRUE(is_utf8(""));
  EXPECT_FALSE(is_utf8("25\xB0" "C"));
}

TEST(Charset, BackslashCodesWrittenOut) {
  EXPECT_EQ(backslash_code(176), "\\^o");
  EXPECT_EQ(backslash_code(216), "\\O/");  // the first of its two codes
  EXPECT_EQ(backslash_code(233), "\\233");
  EXPECT_EQ(backslash_code(160), "\\160");
}

TEST(Charset, OffsetsPointAtTheCodes) {
  std::vector<std::size_t> offsets;
  EXPECT_EQ(decode_backslash_codes("a\\->b\\065", &offsets), "a\x8D" "bA");
  EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 1, 4, 5}));
  EXPECT_EQ(decode_utf8("a\xE2\x86\x92x\xCC\x84!", &offsets, nullptr), "a\x8D\x81!");
  EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 1, 4, 7}));
}

TEST(Charset, Utf8WithoutAnHpCharacterFails) {
  for (const char* text : {"a😀", "x\xff", "a\xe2\x82", "a\xC0\xAF", "a\xED\xA0\x80"}) {
    std::optional<Utf8Failure> failure;
    EXPECT_EQ(decode_utf8(text, nullptr, &failure), "");
    ASSERT_TRUE(failure.has_value()) << text;
    EXPECT_EQ(failure->offset, 1u) << text;
  }
}

}  // namespace
}  // namespace rpl
