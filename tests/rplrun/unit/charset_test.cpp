// The HP character set: backslash codes in and out, UTF-8 in and out.
#include <gtest/gtest.h>

#include "rplrun/charset.h"

namespace rplrun {
namespace {

std::string hp(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes) out += static_cast<char>(c);
  return out;
}

struct CodeCase {
  const char* ascii;    // as a transfer file writes it
  std::string hp_text;  // the characters read
  const char* written;  // written back with --ascii
  const char* utf8;     // written back with --unicode
};

const CodeCase code_cases[] = {
    {"\\<<1\\>>", hp({171, '1', 187}), "\\<<1\\>>", "«1»"},
    {"\\->LIST", hp({141, 'L', 'I', 'S', 'T'}), "\\->LIST", "→LIST"},
    {"\\<= \\>= \\=/", hp({137, ' ', 138, ' ', 139}), "\\<= \\>= \\=/", "≤ ≥ ≠"},
    {"\\v/\\pi\\GS\\.d", hp({131, 135, 133, 136}), "\\v/\\pi\\GS\\.d", "√πΣ∂"},
    {"\\<)\\x-\\.V\\.S", hp({128, 129, 130, 132}), "\\<)\\x-\\.V\\.S", "∠x̄∇∫"},
    {"\\|>\\|v\\|^\\<-", hp({134, 143, 144, 142}), "\\|>\\|v\\|^\\<-", "▶↓↑←"},
    {"\\Ga\\Gb\\Gg\\Gd\\Ge\\Gn\\Gh\\Gl", hp({140, 223, 145, 146, 147, 148, 149, 150}),
     "\\Ga\\Gb\\Gg\\Gd\\Ge\\Gn\\Gh\\Gl", "αßγδεηθλ"},
    {"\\Gr\\Gs\\Gt\\Gw\\GD\\PI\\GW\\[]\\oo", hp({151, 152, 153, 154, 155, 156, 157, 158, 159}),
     "\\Gr\\Gs\\Gt\\Gw\\GD\\PI\\GW\\[]\\oo", "ρστωΔΠΩ■∞"},
    {"\\^o\\Gm\\.x\\O/\\0/\\:-", hp({176, 181, 215, 216, 216, 247}), "\\^o\\Gm\\.x\\O/\\O/\\:-",
     "°µ×ØØ÷"},
    {"\\065\\156\\255", hp({'A', 156, 255}), "A\\PI\\255", "AΠÿ"},
    {"\\\\", "\\", "\\", "\\"},
    {"\\q \\256 \\12", "\\q \\256 \\12", "\\q \\256 \\12", "\\q \\256 \\12"},
    {"\\", "\\", "\\", "\\"},
    {"\\160\\161", hp({160, 161}), "\\160\\161", "\u00a0¡"},
};

TEST(Charset, BackslashCodesAndUtf8) {
  for (const CodeCase& c : code_cases) {
    SCOPED_TRACE(c.ascii);
    const std::string decoded = decode_backslash_codes(c.ascii);
    EXPECT_EQ(decoded, c.hp_text);
    EXPECT_EQ(encode(decoded, OutputCharset::ascii), c.written);
    EXPECT_EQ(encode(decoded, OutputCharset::unicode), c.utf8);
    std::optional<Utf8Failure> failure;
    EXPECT_EQ(decode_utf8(c.utf8, nullptr, &failure), decoded);
    EXPECT_FALSE(failure.has_value());
  }
}

TEST(Charset, OffsetsPointAtTheCodes) {
  std::vector<std::size_t> offsets;
  EXPECT_EQ(decode_backslash_codes("a\\->b\\065", &offsets), hp({'a', 141, 'b', 'A'}));
  EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 1, 4, 5}));
}

TEST(Charset, Utf8WithoutAnHpCharacterFails) {
  for (const char* text : {"a😀", "x\xff", "a\xe2\x82"}) {
    std::optional<Utf8Failure> failure;
    decode_utf8(text, nullptr, &failure);
    ASSERT_TRUE(failure.has_value()) << text;
    EXPECT_EQ(failure->offset, 1u) << text;
  }
}

// Only the shortest form of a character is UTF-8: a longer one would let C0 A2 stand for
// a quote and C0 80 for NUL; surrogates and anything past U+10FFFF are not characters.
TEST(Charset, Utf8TakesOnlyShortestForms) {
  struct Case {
    const char* bytes;
    char32_t value;  // 0 with length 0: refused
    std::size_t length;
  };
  const Case cases[] = {
      {"\x7f", 0x7F, 1},
      {"\xc2\x80", 0x80, 2},
      {"\xdf\xbf", 0x7FF, 2},
      {"\xe0\xa0\x80", 0x800, 3},
      {"\xed\x9f\xbf", 0xD7FF, 3},
      {"\xee\x80\x80", 0xE000, 3},
      {"\xef\xbf\xbf", 0xFFFF, 3},
      {"\xf0\x90\x80\x80", 0x10000, 4},
      {"\xf4\x8f\xbf\xbf", 0x10FFFF, 4},
      {"\xc0\xa2", 0, 0},          // overlong quote
      {"\xc0\x80", 0, 0},          // overlong NUL
      {"\xc1\xbf", 0, 0},          // overlong 7F
      {"\xe0\x9f\xbf", 0, 0},      // overlong 7FF
      {"\xf0\x8f\xbf\xbf", 0, 0},  // overlong FFFF
      {"\xed\xa0\x80", 0, 0},      // surrogate D800
      {"\xed\xbf\xbf", 0, 0},      // surrogate DFFF
      {"\xf4\x90\x80\x80", 0, 0},  // 110000
      {"\xf8\x88\x80\x80\x80", 0, 0},
      {"\x80", 0, 0},
      {"\xe2\x86", 0, 0},
      {"\xe2\x41\x80", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    const std::optional<CodePoint> got = utf8_at(c.bytes);
    if (c.length == 0) {
      EXPECT_FALSE(got.has_value());
    } else {
      ASSERT_TRUE(got.has_value());
      EXPECT_EQ(got->value, c.value);
      EXPECT_EQ(got->length, c.length);
    }
  }
}

}  // namespace
}  // namespace rplrun
