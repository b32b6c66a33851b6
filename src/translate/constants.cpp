#include "translate/constants.h"

#include <string>

namespace {

// Removes each backslash and keeps the character after it unexamined; with
// `newline_escape`, a backslash before "n" makes a newline instead.
Text* unescape(std::string_view lexeme, bool newline_escape) {
  if (lexeme.find('\\') == std::string_view::npos) return xstrdup(lexeme);
  std::string bytes;
  bytes.reserve(lexeme.size());
  for (std::size_t i = 0; i < lexeme.size(); ++i) {
    char c = lexeme[i];
    if (c == '\\' && i + 1 < lexeme.size()) {
      c = lexeme[++i];
      if (newline_escape && c == 'n') c = '\n';
    }
    bytes += c;
  }
  return xstrdup(bytes);
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
