#include "rplrun/transfer.h"

#include <algorithm>

#include "support/charset.h"

namespace rplrun {

namespace {

// CR LF becomes LF.
void join_line_ends(SourceText& source) {
  const std::string& text = source.text();
  if (text.find("\r\n") == std::string::npos) return;
  std::string out;
  std::vector<std::size_t> offsets;
  out.reserve(text.size());
  offsets.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
    offsets.push_back(i);
  }
  source.replace(std::move(out), offsets);
}

// UTF-8 to HP characters; a character the calculator lacks is Invalid Syntax where
// it stands.
void decode_utf8(SourceText& source) {
  std::optional<rpl::Utf8Failure> failure;
  std::vector<std::size_t> offsets;
  std::string hp = rpl::decode_utf8(source.text(), &offsets, &failure);
  if (failure) throw SyntaxError{source.position_at(failure->offset)};
  source.replace(std::move(hp), offsets);
}

// A file written by an editor or by "rplrun --unicode" is UTF-8, and one written by
// the calculator holds 8-bit HP characters: a file is taken as UTF-8 when it is
// valid UTF-8 and has characters beyond ASCII.
bool holds_utf8(std::string_view text) {
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return !ascii && rpl::is_utf8(text);
}

void decode_codes(SourceText& source) {
  std::vector<std::size_t> offsets;
  std::string out = rpl::decode_backslash_codes(source.text(), &offsets);
  source.replace(std::move(out), offsets);
}

// Blanks between the fields of the header line.
bool is_header_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

SourceText load_transfer(std::uint32_t id, std::string bytes) {
  SourceText source(id, std::move(bytes));
  // Columns of a file in UTF-8 count its characters.
  if (holds_utf8(source.text())) source.count_utf8_columns();
  return decode_transfer(std::move(source));
}

SourceText decode_transfer(SourceText source) {
  if (holds_utf8(source.text())) decode_utf8(source);
  const std::string& text = source.text();
  int mode = 3;
  static constexpr std::string_view magic = "%%HP:";
  if (text.starts_with(magic)) {
    std::size_t i = magic.size();
    auto fail = [&] { throw SyntaxError{source.position_at(i)}; };
    for (;;) {
      while (i < text.size() && is_header_blank(text[i])) ++i;
      if (i >= text.size()) fail();
      if (text[i] == ';') break;
      if (i + 3 >= text.size() || text[i + 1] != '(' || text[i + 3] != ')') fail();
      const char field = text[i];
      const char value = text[i + 2];
      if (field == 'T' && value >= '0' && value <= '3') {
        mode = value - '0';
      } else if (field == 'A' && (value == 'R' || value == 'D' || value == 'G')) {
        source.angle_mode = value == 'R'   ? AngleMode::radians
                            : value == 'D' ? AngleMode::degrees
                                           : AngleMode::grads;
      } else if (field == 'F' && (value == '.' || value == ',')) {
        source.fraction_mark = value;
      } else {
        fail();
      }
      i += 4;
    }
    if (!source.angle_mode) source.angle_mode = AngleMode::radians;
    // The header is read; what follows it is the object.
    std::vector<std::size_t> offsets;
    for (std::size_t k = i + 1; k < text.size(); ++k) offsets.push_back(k);
    source.replace(text.substr(i + 1), offsets);
  }
  if (mode >= 1) join_line_ends(source);
  if (mode >= 2) decode_codes(source);
  return source;
}

SourceText load_command_line(std::uint32_t id, std::string utf8) {
  SourceText source(id, std::move(utf8));
  source.count_utf8_columns();
  decode_utf8(source);
  decode_codes(source);
  return source;
}

}  // namespace rplrun
