// The HP48 character set. Inside rplrun every text is a string of HP characters, one
// byte each (0-255). Characters 128-159 are the calculator's own (angle, square root,
// Greek letters, arrows...), 160-255 follow ISO 8859-1, and 0-127 are ASCII.
//
// Outside, the same characters are written either as the backslash codes of the
// calculator's ASCII transfer ("\->", "\<<", "\GS", "\ddd") or as UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rplrun {

enum class OutputCharset { ascii, unicode };

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Blanks between the tokens of RPL text: space, character 160, and every control
// character but 27.
inline bool is_blank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u == ' ' || u == 160 || (u < 32 && u != 27);
}

// A character decoded from the start of a text, and how many bytes it took.
struct DecodedChar {
  unsigned char character;
  std::size_t length;
};

// The backslash code that starts `text`: "\->", "\065"...; none when no code starts
// there (a backslash alone stays a backslash).
std::optional<DecodedChar> backslash_code_at(std::string_view text);

// The Unicode character whose UTF-8 form starts `text`, and the form's length; none for
// anything but the shortest form of a character up to U+10FFFF other than a surrogate
// (C0 A2 is not '"').
struct CodePoint {
  char32_t value;
  std::size_t length;
};
std::optional<CodePoint> utf8_at(std::string_view text);

// The HP character whose UTF-8 form starts `text` (x and a combining macron are the one
// character x-bar); none for invalid UTF-8 or a character the calculator lacks.
std::optional<DecodedChar> hp_char_from_utf8(std::string_view text);

// Replaces every backslash code by its character: the two- and three-character codes
// of the translation table and "\ddd" with three decimal digits up to 255. A backslash
// that starts no code stays a backslash. `offsets`, when given, receives for each
// character of the result the offset in `text` where it starts.
std::string decode_backslash_codes(std::string_view text,
                                   std::vector<std::size_t>* offsets = nullptr);

// The code for one character 128-255 ("\->", "\v/", "\210").
std::string backslash_code(unsigned char c);

// How encode() writes a line break: as it is (DISP text), as a blank (a stack level is
// one line), or as its code (a message is one line).
enum class LineBreaks { kept, blank, code };

// HP characters written out: characters 128-255 as backslash codes or as UTF-8. Control
// characters other than the line break (0-31 and 127) are always written as their codes
// ("\027"), so that no text a program makes can drive the terminal or forge a line.
std::string encode(std::string_view hp_text, OutputCharset charset,
                   LineBreaks breaks = LineBreaks::kept);

inline bool is_control(unsigned char c) { return c < 32 || c == 127; }

// UTF-8 (typed on the command line) to HP characters, one per code point; characters
// that the calculator lacks make it fail with the byte offset of the first one.
struct Utf8Failure {
  std::size_t offset;
};
std::string decode_utf8(std::string_view utf8, std::vector<std::size_t>* offsets,
                        std::optional<Utf8Failure>* failure);

}  // namespace rplrun
