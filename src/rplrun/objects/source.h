// Where objects were read: source names, positions, and the decoded text of an input
// with the map back to its original lines and columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/real.h"

namespace rplrun {

// A place in an input: source 0 is "nowhere" (objects built while running).
struct Position {
  std::uint32_t source = 0;
  std::uint32_t line = 0;
  std::uint32_t column = 0;
  bool known() const { return source != 0; }
};

// Inputs are named once and referred to by number.
std::uint32_t register_source(std::string name);
const std::string& source_name(std::uint32_t id);
// "FILE:LINE:COLUMN".
std::string describe(const Position& position);

// Text the calculator refuses to read.
struct SyntaxError {
  Position where;
  // Not 0: the text is well formed but an object in it is too large or too deep to be
  // built; this RPL error number (Insufficient Memory) says so.
  std::uint32_t error = 0;
};

// The largest input: positions are 32-bit offsets into it.
inline constexpr std::size_t max_input_bytes = 0xFFFFFFFF;

// An input ready for the reader: HP characters, decoded in place from the original
// text, with what it takes to give each character's line and column in that text.
// Memory: the text itself, a word per original line, and a pair of words wherever
// decoding shortened the text (a backslash code, a CR LF, a UTF-8 sequence).
class SourceText {
  // From `index` on (up to the next break), the text continues the original text at
  // `offset`.
  struct Break {
    std::uint32_t index;
    std::uint32_t offset;
  };

 public:
  // Throws SyntaxError (Insufficient Memory) for a text longer than max_input_bytes.
  SourceText(std::uint32_t source, std::string original_text);
  // A text made from the original by a translation (a .c48 source compiled): `text`, with
  // for each of its bytes, and one past its end, the offset in `original` that it came
  // from. Columns count characters of the original, read as UTF-8.
  SourceText(std::uint32_t source, std::string_view original, std::string text,
             const std::vector<std::uint32_t>& offsets);

  std::uint32_t source() const { return source_; }
  const std::string& text() const { return text_; }
  char fraction_mark = '.';
  std::optional<AngleMode> angle_mode;  // a header's A(), while this input is read
  std::uint32_t first_line = 1;         // of the text in its input (a line of a longer one)

  Position position_at(std::size_t index) const;
  // The place of a byte of the original text.
  Position position_of_offset(std::uint32_t offset) const;

  // Columns then count characters of the original text, read as UTF-8, instead of bytes.
  // Call before the text is first rewritten.
  void count_utf8_columns();

  // Rewrites the text in place from its start, never longer than it was: each
  // character written is one read or stands for several (a decoded code); positions
  // keep pointing into the original text. finish() keeps the rest and ends it.
  class Rewrite {
   public:
    explicit Rewrite(SourceText& source) : source_(source), text_(source.text_) {}
    Rewrite(const Rewrite&) = delete;
    Rewrite& operator=(const Rewrite&) = delete;

    // What is left to read.
    std::string_view rest() const {
      return std::string_view(text_).substr(read_);
    }
    void keep(std::size_t count);              // the next `count` characters as they are
    void skip(std::size_t count);              // the next `count` characters dropped
    void replace(std::size_t count, char c);   // the next `count` characters become c
    void finish();
    // Where the next character to read stands in the original text.
    Position position() const { return source_.position_at(read_); }

   private:
    std::uint32_t offset_at_read();  // the original offset of the next character read
    void mark(std::size_t written, std::uint32_t offset);

    SourceText& source_;
    std::string& text_;
    std::size_t read_ = 0;
    std::size_t written_ = 0;
    std::size_t old_break_ = 0;  // the break of source_.breaks_ that read_ is in
    std::vector<Break> breaks_;
  };

 private:
  std::uint32_t original_offset(std::size_t index) const;
  void index_lines(std::string_view original);
  void count_utf8_columns(std::string_view original);

  std::uint32_t source_;
  std::string text_;
  std::vector<Break> breaks_{{0, 0}};
  std::uint32_t end_offset_ = 0;            // the original text's length
  std::vector<std::uint32_t> line_starts_;  // of the original text
  // With UTF-8 columns: the original offsets of the continuation bytes, in order.
  std::vector<std::uint32_t> continuations_;
  bool utf8_columns_ = false;
};

}  // namespace rplrun
