// Characters inside rplrun: every text is a string of HP characters, one byte each
// (support/charset.h has the character set and its outside forms).
#pragma once

#include <string>
#include <string_view>

#include "support/charset.h"

namespace rplrun {

enum class OutputCharset { ascii, unicode };

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Blanks between the tokens of RPL text: space, character 160, and every control
// character but 27.
inline bool is_blank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u == ' ' || u == 160 || (u < 32 && u != 27);
}

// HP characters written out: characters 128-255 as backslash codes or as UTF-8.
std::string encode(std::string_view hp_text, OutputCharset charset);

}  // namespace rplrun
