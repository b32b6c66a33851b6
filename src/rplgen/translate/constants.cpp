#include "rplgen/translate/constants.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/charset.h"

namespace rplgen {

using rpl::text_append;
using rpl::text_view;
using rpl::xstrdup;
using rpl::xstrfmt;

namespace {

// Eight bytes at a time: every text copied from the source passes here.
bool is_ascii(std::string_view bytes) {
  constexpr std::uint64_t high_bits = 0x8080808080808080u;
  std::uint64_t all = 0;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    all |= word;
  }
  for (; i < bytes.size(); ++i) all |= static_cast<unsigned char>(bytes[i]);
  return (all & high_bits) == 0;
}

// The bytes with each UTF-8 character of the calculator's set written as its
// translation code; anything else is copied.
Text* copy_with_codes(std::string_view bytes) {
  if (is_ascii(bytes)) return xstrdup(bytes);
  std::string written;
  written.reserve(bytes.size() + bytes.size() / 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    // Only "x" may start a character of two code points (x-bar).
    if (c < 0x80 && c != 'x') {
      written += static_cast<char>(c);
      ++i;
      continue;
    }
    const rpl::Utf8Character read = rpl::read_utf8(bytes.substr(i));
    if (read.kind == rpl::Utf8Character::hp && read.character >= 0x80) {
      written += rpl::backslash_code(read.character);
    } else {
      written.append(bytes.substr(i, read.length));
    }
    i += read.length;
  }
  return xstrdup(std::string_view(written));
}

Text* with_codes(Text* text) {
  if (is_ascii(text_view(text))) return text;
  Text* written = copy_with_codes(text_view(text));
  rpl::text_free(text);
  return written;
}

// Removes each backslash and keeps the character after it unexamined; with
// `newline_escape`, a backslash before "n" makes a newline instead. The text
// is built in place, stretch by stretch, so that a long literal is held only
// in the input buffer and in its one text. The characters of escapes that
// follow each other are gathered and appended together: a name made of
// symbols is a run of escapes, which one append each would make slow.
Text* unescape(std::string_view lexeme, bool newline_escape) {
  std::size_t backslash = lexeme.find('\\');
  if (backslash == std::string_view::npos) return xstrdup(lexeme);
  Text* text = xstrdup(lexeme.substr(0, backslash));
  std::array<char, 256> escaped;
  std::size_t gathered = 0;
  // A backslash that ends the lexeme escapes nothing and stays.
  while (backslash != std::string_view::npos && backslash + 1 < lexeme.size()) {
    char c = lexeme[backslash + 1];
    if (newline_escape && c == 'n') c = '\n';
    escaped[gathered++] = c;
    const std::size_t from = backslash + 2;
    const bool escape_follows = from + 1 < lexeme.size() && lexeme[from] == '\\';
    if (!escape_follows || gathered == escaped.size()) {
      text = text_append(text, std::string_view(escaped.data(), gathered));
      gathered = 0;
    }
    if (escape_follows) {
      backslash = from;
      continue;
    }
    backslash = lexeme.find('\\', from);
    const std::size_t stop = backslash == std::string_view::npos ? lexeme.size() : backslash;
    text = text_append(text, lexeme.substr(from, stop - from));
  }
  if (backslash != std::string_view::npos) text = text_append(text, "\\");
  return text;
}

}  // namespace

// Only an escape puts a byte beyond ASCII into a name.
Text* identifier_text(std::string_view lexeme) {
  Text* name = lexeme.find('\\') == std::string_view::npos ? xstrdup(lexeme)
                                                           : with_codes(unescape(lexeme, false));
  return with_form(name, Form::name);
}

// The calculator's EEX key writes a capital E and no plus sign.
Text* number_text(std::string_view lexeme) {
  const auto calculator_form = [](char c) { return c != 'e' && c != '+'; };
  if (std::all_of(lexeme.begin(), lexeme.end(), calculator_form)) {
    return with_form(xstrdup(lexeme), Form::number);
  }
  std::string written;
  for (const char c : lexeme) {
    if (c != '+') written += c == 'e' ? 'E' : c;
  }
  return with_form(xstrdup(std::string_view(written)), Form::number);
}

Text* algebraic_text(std::string_view lexeme) { return copy_with_codes(lexeme); }
Text* verbatim_text(std::string_view lexeme) {
  return copy_with_codes(lexeme.substr(1, lexeme.size() - 2));
}

Text* rpl_program_text(std::string_view lexeme) {
  return xstrfmt("\\<<%s\\>>", copy_with_codes(lexeme.substr(3, lexeme.size() - 5)));
}

Text* string_text(std::string_view lexeme) { return with_codes(unescape(lexeme, true)); }

}  // namespace rplgen
