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

std::optional<DecodedChar> backslash_code_at(std::string_view text) {
  if (text.empty() || text[0] != '\\') return std::nullopt;
  const std::string_view rest = text.substr(1);
  if (rest.size() >= 3 && is_digit(rest[0]) && is_digit(rest[1]) && is_digit(rest[2])) {
    const int value = (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
    if (value <= 255) return DecodedChar{static_cast<unsigned char>(value), 4};
  }
  for (const Code& code : codes) {
    if (rest.starts_with(code.text)) return DecodedChar{code.character, 1 + code.text.size()};
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
    const std::optional<DecodedChar> code = backslash_code_at(text.substr(i));
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

std::string encode(std::string_view hp_text, OutputCharset charset, LineBreaks breaks) {
  std::string out;
  out.reserve(hp_text.size());
  for (const char ch : hp_text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n' && breaks != LineBreaks::code) {
      out += breaks == LineBreaks::kept ? '\n' : ' ';
    } else if (is_control(c)) {
      out += backslash_code(c);
    } else if (c < 128) {
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

std::optional<CodePoint> utf8_at(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return CodePoint{lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;  // below this, a shorter form exists: overlong
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
    smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return std::nullopt;
  return CodePoint{value, length};
}

std::optional<DecodedChar> hp_char_from_utf8(std::string_view text) {
  const std::optional<CodePoint> cp = utf8_at(text);
  if (!cp) return std::nullopt;
  const char32_t value = cp->value;
  if (value < 0x80 || (value >= 0xA0 && value <= 0xFF)) {
    // x followed by a combining macron is the one character x-bar.
    if (value == 'x' && text.substr(1).starts_with("\xCC\x84")) return DecodedChar{129, 3};
    return DecodedChar{static_cast<unsigned char>(value), cp->length};
  }
  for (std::size_t k = 0; k < high_block.size(); ++k) {
    if (high_block[k] == value && k != 1)
      return DecodedChar{static_cast<unsigned char>(128 + k), cp->length};
  }
  return std::nullopt;
}

std::string decode_utf8(std::string_view utf8, std::vector<std::size_t>* offsets,
                        std::optional<Utf8Failure>* failure) {
  std::string out;
  if (offsets) offsets->clear();
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::optional<DecodedChar> c = hp_char_from_utf8(utf8.substr(i));
    if (!c) {
      if (failure) *failure = Utf8Failure{i};
      return std::string();
    }
    out += static_cast<char>(c->character);
    if (offsets) offsets->push_back(i);
    i += c->length;
  }
  if (failure) failure->reset();
  return out;
}

}  // namespace rplrun
