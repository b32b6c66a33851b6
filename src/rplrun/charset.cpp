#include "rplrun/charset.h"

#include <array>
#include <cstdint>

namespace rplrun {

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

void append_utf8(std::string& out, char32_t cp) {
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

}  // namespace

std::string decode_backslash_codes(std::string_view text, std::vector<std::size_t>* offsets) {
  std::string out;
  out.reserve(text.size());
  if (offsets) {
    offsets->clear();
    offsets->reserve(text.size());
  }
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (c == '\\') {
      const std::string_view rest = text.substr(i + 1);
      if (rest.size() >= 3 && is_digit(rest[0]) && is_digit(rest[1]) && is_digit(rest[2])) {
        const int value = (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
        if (value <= 255) {
          c = static_cast<unsigned char>(value);
          length = 4;
        }
      }
      if (length == 1) {
        for (const Code& code : codes) {
          if (rest.starts_with(code.text)) {
            c = code.character;
            length = 1 + code.text.size();
            break;
          }
        }
      }
    }
    out += static_cast<char>(c);
    if (offsets) offsets->push_back(start);
    i += length;
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

std::string encode(std::string_view hp_text, OutputCharset charset) {
  std::string out;
  out.reserve(hp_text.size());
  for (const char ch : hp_text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 128) {
      out += ch;
    } else if (charset == OutputCharset::ascii) {
      out += backslash_code(c);
    } else if (c < 160) {
      append_utf8(out, high_block[c - 128]);
      if (c == 129) append_utf8(out, combining_macron);
    } else {
      append_utf8(out, c);
    }
  }
  return out;
}

std::string decode_utf8(std::string_view utf8, std::vector<std::size_t>* offsets,
                        std::optional<Utf8Failure>* failure) {
  std::string out;
  if (offsets) offsets->clear();
  std::size_t i = 0;
  auto fail = [&](std::size_t at) {
    if (failure) *failure = Utf8Failure{at};
    return std::string();
  };
  while (i < utf8.size()) {
    const std::size_t start = i;
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t cp = 0;
    int more = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1F;
      more = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0F;
      more = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07;
      more = 3;
    } else {
      return fail(start);
    }
    ++i;
    for (int k = 0; k < more; ++k, ++i) {
      if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80)
        return fail(start);
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    int hp = -1;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      hp = static_cast<int>(cp);
    } else if (cp != 0x78) {
      for (int k = 0; k < 32; ++k) {
        if (high_block[k] == cp && k != 1) hp = 128 + k;
      }
    }
    if (hp < 0) return fail(start);
    // x followed by a combining macron is the one character x-bar.
    if (cp == 'x' && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i]) == 0xCC &&
        static_cast<unsigned char>(utf8[i + 1]) == 0x84) {
      hp = 129;
      i += 2;
    }
    out += static_cast<char>(hp);
    if (offsets) offsets->push_back(start);
  }
  if (failure) failure->reset();
  return out;
}

}  // namespace rplrun
