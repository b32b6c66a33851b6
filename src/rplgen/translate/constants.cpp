#include "rplgen/translate/constants.h"

namespace rplgen {

using rpl::text_append;
using rpl::xstrdup;
using rpl::xstrfmt;

namespace {

// Removes each backslash and keeps the character after it unexamined; with
// `newline_escape`, a backslash before "n" makes a newline instead. The text
// is built in place, stretch by stretch, so that a long literal is held only
// in the input buffer and in its one text.
Text* unescape(std::string_view lexeme, bool newline_escape) {
  std::size_t backslash = lexeme.find('\\');
  if (backslash == std::string_view::npos) return xstrdup(lexeme);
  Text* text = xstrdup(lexeme.substr(0, backslash));
  // A backslash that ends the lexeme escapes nothing and stays.
  while (backslash != std::string_view::npos && backslash + 1 < lexeme.size()) {
    char c = lexeme[backslash + 1];
    if (newline_escape && c == 'n') c = '\n';
    text = text_append(text, std::string_view(&c, 1));
    const std::size_t from = backslash + 2;
    backslash = lexeme.find('\\', from);
    const std::size_t stop = backslash == std::string_view::npos ? lexeme.size() : backslash;
    text = text_append(text, lexeme.substr(from, stop - from));
  }
  if (backslash != std::string_view::npos) text = text_append(text, "\\");
  return text;
}

}  // namespace

Text* identifier_text(std::string_view lexeme) { return unescape(lexeme, false); }
Text* number_text(std::string_view lexeme) { return xstrdup(lexeme); }
Text* algebraic_text(std::string_view lexeme) { return xstrdup(lexeme); }
Text* verbatim_text(std::string_view lexeme) {
  return xstrdup(lexeme.substr(1, lexeme.size() - 2));
}

Text* rpl_program_text(std::string_view lexeme) {
  return xstrfmt("\\<<%s\\>>", xstrdup(lexeme.substr(3, lexeme.size() - 5)));
}

Text* string_text(std::string_view lexeme) { return unescape(lexeme, true); }

}  // namespace rplgen
