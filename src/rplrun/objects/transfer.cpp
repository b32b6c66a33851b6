#include "objects/transfer.h"

#include <algorithm>

#include "objects/charset.h"

namespace rplrun {

namespace {

// CR LF becomes LF.
void join_line_ends(SourceText& source) {
  SourceText::Rewrite rewrite(source);
  for (std::size_t at; (at = rewrite.rest().find("\r\n")) != std::string_view::npos;) {
    rewrite.keep(at);
    rewrite.skip(1);
  }
  rewrite.finish();
}

// UTF-8 to HP characters, in place; a character the calculator lacks, or bytes that
// are not UTF-8 in its shortest form, are Invalid Syntax where they stand.
void decode_utf8(SourceText& source) {
  SourceText::Rewrite rewrite(source);
  for (;;) {
    const std::string_view rest = rewrite.rest();
    std::size_t ascii = static_cast<std::size_t>(
        std::find_if(rest.begin(), rest.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
        rest.begin());
    if (ascii == rest.size()) break;
    // An x may take the combining macron after it.
    if (ascii > 0 && rest[ascii - 1] == 'x') --ascii;
    rewrite.keep(ascii);
    const rpl::Utf8Character c = rpl::read_utf8(rewrite.rest());
    if (c.kind != rpl::Utf8Character::hp) throw SyntaxError{rewrite.position()};
    rewrite.replace(c.length, static_cast<char>(c.character));
  }
  rewrite.finish();
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
  SourceText::Rewrite rewrite(source);
  for (std::size_t at; (at = rewrite.rest().find('\\')) != std::string_view::npos;) {
    rewrite.keep(at);
    if (const std::optional<rpl::TranslationCode> code = rpl::backslash_code_at(rewrite.rest()))
      rewrite.replace(code->length, static_cast<char>(code->character));
    else
      rewrite.keep(1);
  }
  rewrite.finish();
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
    SourceText::Rewrite rewrite(source);
    rewrite.skip(i + 1);
    rewrite.finish();
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
