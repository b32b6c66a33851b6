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

inline bool is_control(unsigned char c) { return c < 32 || c == 127; }

// How encode() writes a line break: as it is (DISP text), as a blank (a stack level is
// one line), or as its code (a message is one line).
enum class LineBreaks { kept, blank, code };

// HP characters written out: characters 128-255 as backslash codes or as UTF-8. Control
// characters other than the line break (0-31 and 127) are always written as their codes
// ("\027"), so that no text a program makes can drive the terminal or forge a line.
std::string encode(std::string_view hp_text, OutputCharset charset,
                   LineBreaks breaks = LineBreaks::kept);

}  // namespace rplrun
