// Where objects were read: source names, positions, and the decoded text of an input
// with the map back to its original lines and columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rplrun/real.h"

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

// An input ready for the reader: HP characters, with the original byte offset of each
// (and one past the end) to give positions in the original text.
class SourceText {
 public:
  SourceText(std::uint32_t source, std::string original_text);
  // A text made from the original by a translation (a .c48 source compiled): `text`, with
  // for each of its bytes, and one past its end, the offset in `original` that it came
  // from. Columns count characters of the original, read as UTF-8.
  SourceText(std::uint32_t source, std::string_view original, std::string text,
             std::vector<std::uint32_t> offsets);

  std::uint32_t source() const { return source_; }
  const std::string& text() const { return text_; }
  char fraction_mark = '.';
  std::optional<AngleMode> angle_mode;  // a header's A(), while this input is read
  std::uint32_t first_line = 1;         // of the text in its input (a line of a longer one)

  Position position_at(std::size_t index) const;
  // The place of a byte of the original text.
  Position position_of_offset(std::uint32_t offset) const;

  // Columns then count characters of the original text, read as UTF-8, instead of bytes.
  // Call before the first replace().
  void count_utf8_columns();

  // Replaces the text by a decoded one; `offsets` maps each new character to an index of
  // the previous text (composition is done here).
  void replace(std::string text, const std::vector<std::size_t>& offsets);

 private:
  void index_lines(std::string_view original);
  void count_utf8_columns(std::string_view original);

  std::uint32_t source_;
  std::vector<std::uint32_t> line_starts_;  // of the original text
  std::string text_;
  std::vector<std::uint32_t> offsets_;
  // With UTF-8 columns: the continuation bytes before each offset of the original text.
  std::vector<std::uint32_t> continuations_;
};

}  // namespace rplrun
