// The HP character set as rplrun writes it out: backslash codes and UTF-8, read back.
#include <gtest/gtest.h>

#include "objects/charset.h"

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
    const std::string decoded = rpl::decode_backslash_codes(c.ascii);
    EXPECT_EQ(decoded, c.hp_text);
    EXPECT_EQ(encode(decoded, OutputCharset::ascii), c.written);
    EXPECT_EQ(encode(decoded, OutputCharset::unicode), c.utf8);
    std::optional<rpl::Utf8Failure> failure;
    EXPECT_EQ(rpl::decode_utf8(c.utf8, nullptr, &failure), decoded);
    EXPECT_FALSE(failure.has_value());
  }
}

}  // namespace
}  // namespace rplrun
