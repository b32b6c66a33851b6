// The HP48 character set. The calculator's characters are one byte each: 0-127
// are ASCII, 128-159 its own (angle, square root, Greek letters, arrows...), and
// 160-255 follow ISO 8859-1.
//
// Outside the calculator the same characters are written either as the
// translation codes of its ASCII transfers ("\->", "\<<", "\GS", "\ddd") or as
// UTF-8. This is the one table of both forms.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rpl {

// Replaces every translation code by its character: the two- and three-character
// codes of the table and "\ddd" with three decimal digits up to 255. A backslash
// that starts no code stays a backslash. `offsets`, when given, receives for each
// character of the result the offset in `text` where it starts.
std::string decode_backslash_codes(std::string_view text,
                                   std::vector<std::size_t>* offsets = nullptr);

// The translation code that starts `text`: the character it stands for and how many
// bytes it takes ("\->": 3, "\065": 4); none when no code starts there.
struct TranslationCode {
  unsigned char character;
  std::size_t length;
};
std::optional<TranslationCode> backslash_code_at(std::string_view text);

// The code that writes one character 128-255: its two- or three-character code
// where it has one ("\->", "\v/"), else "\ddd" with its decimal code ("\210").
std::string backslash_code(unsigned char c);

// One character read from UTF-8.
struct Utf8Character {
  enum Kind {
    hp,       // a character of the HP48 set, in `character`
    not_hp,   // valid UTF-8 of a character the calculator does not have
    invalid,  // no valid UTF-8 sequence starts here
  } kind;
  unsigned char character;
  std::size_t length;  // bytes taken: the whole sequence, or 1 when invalid
};

// Reads the character at the start of `bytes`, which must not be empty. Overlong
// forms, surrogates, code points beyond U+10FFFF and sequences cut short are
// invalid. "x" followed by a combining macron is the one character x-bar (129),
// the way it is written out.
Utf8Character read_utf8(std::string_view bytes);

// Whether the bytes are valid UTF-8 from start to end.
bool is_utf8(std::string_view bytes);

// One HP character written as UTF-8.
void append_utf8(std::string& out, unsigned char c);

// UTF-8 to HP characters, one per character read. A character that the calculator
// lacks, or bytes that are not UTF-8, make it fail with the byte offset where that
// character starts, and return an empty text. `offsets`, when given, receives for
// each character of the result the offset where it starts.
struct Utf8Failure {
  std::size_t offset;
};
std::string decode_utf8(std::string_view utf8, std::vector<std::size_t>* offsets,
                        std::optional<Utf8Failure>* failure);

}  // namespace rpl
