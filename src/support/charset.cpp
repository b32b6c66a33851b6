#include "support/charset.h"

#include <array>

namespace rpl {

namespace {

struct Code {
  std::string_view text;  // after the backslash
  unsigned char character;
};

// The translation codes. Where one character has two codes, the first is the one
// written out.
constexpr Code codes[] = {
    {"\\", '\\'}, {"<)", 128}, {"x-", 129}, {".V", 130}, {"v/", 131}, {".S", 132}, {"GS", 133},
    {"|>", 134},  {"pi", 135}, {".d", 136}, {"<=", 137}, {">=", 138}, {"=/", 139}, {"Ga", 140},
    {"->", 141},  {"<-", 142}, {"|v", 143}, {"|^", 144}, {"Gg", 145}, {"Gd", 146}, {"Ge", 147},
    {"Gn", 148},  {"Gh", 149}, {"Gl", 150}, {"Gr", 151}, {"Gs", 152}, {"Gt", 153}, {"Gw", 154},
    {"GD", 155},  {"PI", 156}, {"GW", 157}, {"[]", 158}, {"oo", 159}, {"<<", 171}, {">>", 187},
    {"^o", 176},  {"Gm", 181}, {".x", 215}, {"O/", 216}, {"0/", 216}, {"Gb", 223}, {":-", 247},
};

// Unicode code points of HP characters 128-159; 160-255 are ISO 8859-1. Character 129
// (x with a bar) is written as x and a combining macron.
constexpr std::array<char32_t, 32> high_block{
    0x2220, 0x0078, 0x2207, 0x221A, 0x222B, 0x03A3, 0x25B6, 0x03C0,  // 128-135
    0x2202, 0x2264, 0x2265, 0x2260, 0x03B1, 0x2192, 0x2190, 0x2193,  // 136-143
    0x2191, 0x03B3, 0x03B4, 0x03B5, 0x03B7, 0x03B8, 0x03BB, 0x03C1,  // 144-151
    0x03C3, 0x03C4, 0x03C9, 0x0394, 0x03A0, 0x03A9, 0x25A0, 0x221E,  // 152-159
};
constexpr char32_t combining_macron = 0x0304;
constexpr std::string_view macron_utf8 = "\xCC\x84";

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void append_code_point(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The HP character of a code point, or -1 when the calculator has none.
int hp_character(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t k = 0; k < high_block.size(); ++k) {
    if (high_block[k] == cp && k != 1) return static_cast<int>(128 + k);
  }
  return -1;
}

// The code point of a valid sequence at the start of `bytes` and its length, or a
// length of 0. The ranges of the second byte after E0, ED, F0 and F4 are those that
// leave out overlong forms, surrogates and what lies beyond U+10FFFF.
std::pair<char32_t, std::size_t> read_code_point(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {0, 0};
  }
  if (bytes.size() < length) return {0, 0};
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(bytes[k]);
    if (k == 1 ? (c < low || c > high) : !is_continuation(c)) return {0, 0};
    cp = (cp << 6) | (c & 0x3F);
  }
  return {cp, length};
}

}  // namespace

std::optional<TranslationCode> backslash_code_at(std::string_view text) {
  if (text.empty() || text[0] != '\\') return std::nullopt;
  const std::string_view rest = text.substr(1);
  if (rest.size() >= 3 && is_digit(rest[0]) && is_digit(rest[1]) && is_digit(rest[2])) {
    const int value = (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
    if (value <= 255) return TranslationCode{static_cast<unsigned char>(value), 4};
  }
  for (const Code& code : codes) {
    if (rest.starts_with(code.text)) return TranslationCode{code.character, 1 + code.text.size()};
  }
  return std::nullopt;
}

std::string decode_backslash_codes(std::string_view text, std::vector<std::size_t>* offsets) {
  std::string out;
  out.reserve(text.size());
  if (offsets) {
    offsets->clear();
    offsets->reserve(text.size());
  }
  std::size_t i = 0;
  while (i < text.size()) {
    const std::optional<TranslationCode> code = backslash_code_at(text.substr(i));
    out += code ? static_cast<char>(code->character) : text[i];
    if (offsets) offsets->push_back(i);
    i += code ? code->length : 1;
  }
  return out;
}

std::string backslash_code(unsigned char c) {
  for (const Code& code : codes) {
    if (code.character == c && c >= 128) return "\\" + std::string(code.text);
  }
  std::string out = "\\";
  out += static_cast<char>('0' + c / 100);
  out += static_cast<char>('0' + c / 10 % 10);
  out += static_cast<char>('0' + c % 10);
  return out;
}

Utf8Character read_utf8(std::string_view bytes) {
  if (bytes[0] == 'x' && bytes.substr(1).starts_with(macron_utf8)) {
    return {Utf8Character::hp, 129, 1 + macron_utf8.size()};
  }
  const auto [cp, length] = read_code_point(bytes);
  if (length == 0) return {Utf8Character::invalid, 0, 1};
  const int hp = hp_character(cp);
  if (hp < 0) return {Utf8Character::not_hp, 0, length};
  return {Utf8Character::hp, static_cast<unsigned char>(hp), length};
}

bool is_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t length = read_code_point(bytes.substr(i)).second;
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void append_utf8(std::string& out, unsigned char c) {
  if (c < 128 || c >= 160) {
    append_code_point(out, c);
    return;
  }
  append_code_point(out, high_block[c - 128]);
  if (c == 129) append_code_point(out, combining_macron);
}

std::string decode_utf8(std::string_view utf8, std::vector<std::size_t>* offsets,
                        std::optional<Utf8Failure>* failure) {
  std::string out;
  if (offsets) offsets->clear();
  std::size_t i = 0;
  while (i < utf8.size()) {
    const Utf8Character read = read_utf8(utf8.substr(i));
    if (read.kind != Utf8Character::hp) {
      if (failure) *failure = Utf8Failure{i};
      return std::string();
    }
    out += static_cast<char>(read.character);
    if (offsets) offsets->push_back(i);
    i += read.length;
  }
  if (failure) failure->reset();
  return out;
}

}  // namespace rpl
