#include "rplgen/check/syntax_errors.h"

#include <algorithm>
#include <array>
#include <string>

#include "rplgen/parser/grammar.hpp"

namespace rplgen::check {

namespace {

// ORDER the named tokens, from ASSIGN (257) to NE_OP (299).
constexpr std::array<std::string_view, NE_OP - ASSIGN + 1> named_tokens = {
    "'assign'", "'case'", "'declare'", "'default'", "'do'", "'else'", "'for'", "'if'",
    "'switch'", "'while'", "'@['", "'@]'", "'@{'", "'@}'", "'@('", "'@)'", "name", "number",
    "algebraic", "verbatim RPL", "string", "program literal", "'>>='", "'<<='", "'+='", "'-='",
    "'*='", "'/='", "'%='", "'&='", "'^='", "'|='", "'**'", "'>>'", "'<<'", "'++'", "'--'",
    "'&&'", "'||'", "'<='", "'>='", "'=='", "'!='"};
static_assert(NE_OP == 299 && ASSIGN == 257 && IDENTIFIER == 273 && RPL_PROGRAM == 278);

constexpr std::string_view grammar_characters = ":,(){};[]=!+-~*/%<>&^|?";

std::string spelling(int code) {
  if (code == 0) return "end of input";
  if (code >= ASSIGN && code <= NE_OP) return std::string(named_tokens[code - ASSIGN]);
  return "'" + std::string(1, static_cast<char>(code)) + "'";
}

// The token as the message names it: names and numbers by their text.
std::string token_text(std::string_view source, const Span& token) {
  if (token.token != IDENTIFIER && token.token != NUMBER) return spelling(token.token);
  std::string_view text = source.substr(token.begin, token.end - token.begin);
  constexpr std::size_t longest = 24;
  if (text.size() > longest) return "'" + std::string(text.substr(0, longest)) + "...'";
  return "'" + std::string(text) + "'";
}

bool continues_an_expression(int code) {
  switch (code) {
    case '*': case '/': case '%': case '+': case '-': case '<': case '>': case '&': case '^':
    case '|': case '?': case '=': case '(': case '[': case ',':
      return true;
    default:
      return (code >= ADD_ASSIGN && code <= POW_OP) || (code >= INC_OP && code <= NE_OP);
  }
}

bool contains(const std::vector<int>& codes, int code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

std::string listed(const std::vector<std::string>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

// A character that begins no token of the language, or no token at all.
std::string stray_character(std::string_view source, const Span& at) {
  const auto c = static_cast<unsigned char>(source[at.begin]);
  const std::string_view rest = source.substr(at.begin);
  switch (c) {
    case '"': return "unterminated string";
    case '\'': return "unterminated algebraic";
    case '`': return "unterminated verbatim RPL";
    case '\r': return "carriage return in the source: save the file with LF line ends";
    case '_': return "unexpected '_': a name is made of letters, digits, '$' and '.'";
    case '@':
      if (rest.starts_with("@<<")) return "'@<<' without '>>' on its line: a program literal ends on the line it begins";
      break;
    default: break;
  }
  if (at.begin == 0 && rest.starts_with("\xEF\xBB\xBF")) {
    return "byte-order mark at the start of the file: save it as UTF-8 without BOM";
  }
  if (c < 32 || c == 127) {
    static constexpr char hex[] = "0123456789ABCDEF";
    return std::string("unexpected control character \\x") + hex[c >> 4] + hex[c & 15];
  }
  if (c < 128) return "unexpected '" + std::string(1, static_cast<char>(c)) + "'";
  // A UTF-8 sequence is shown as the character it is.
  const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
  bool valid = length > 0 && rest.size() >= static_cast<std::size_t>(length) && c < 0xF5;
  for (int i = 1; valid && i < length; ++i) valid = (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80;
  if (valid) return "unexpected character '" + std::string(rest.substr(0, length)) + "'";
  static constexpr char hex[] = "0123456789ABCDEF";
  return std::string("unexpected byte \\x") + hex[c >> 4] + hex[c & 15] + " (not UTF-8)";
}

}  // namespace

std::vector<Diagnostic> describe_syntax_error(const SyntaxErrorPlace& place,
                                              const std::vector<int>& expected) {
  const Span& at = place.at;
  std::vector<Diagnostic> found;
  const auto error = [&](std::uint32_t offset, std::string message) {
    found.push_back({Diagnostic::Kind::error, offset, std::move(message)});
  };
  const auto note = [&](std::uint32_t offset, std::string message) {
    found.push_back({Diagnostic::Kind::note, offset, std::move(message)});
  };

  // Tokens that no grammar rule takes: what the person wrote is named.
  if (at.token == RPLGEN_YYUNDEF) {
    error(at.begin, at.begin == at.end ? "unterminated comment" : "unexpected NUL byte");
    return found;
  }
  if (at.token > 0 && at.token < 256 &&
      grammar_characters.find(static_cast<char>(at.token)) == std::string_view::npos) {
    error(at.begin, stray_character(place.source, at));
    return found;
  }
  switch (at.token) {
    case AT_RBRACKET: case AT_RBRACE: case AT_RPAREN:
      error(at.begin, "unexpected " + spelling(at.token) + ": '@[', '@{' and '@(' end with ']', '}' and ')'");
      return found;
    case RIGHT_OP: case LEFT_OP: case RIGHT_ASSIGN: case LEFT_ASSIGN:
      error(at.begin, "unexpected " + spelling(at.token) + ": there are no shift operators");
      return found;
    case ELSE:
      if (contains(expected, IF)) {
        error(at.begin, "'else' without an 'if' before it");
        return found;
      }
      break;
    default: break;
  }

  const bool at_end = at.token == 0;
  const std::string where = at_end ? "at end of input" : "before " + token_text(place.source, at);
  std::vector<int> closers;
  std::string message;
  if (contains(expected, IF)) {
    // Where a statement may begin, anything else is simply out of place.
    if (at_end && contains(expected, '}')) {
      message = "expected '}' at end of input";
      closers.push_back('}');
    } else {
      message = "unexpected " + token_text(place.source, at);
    }
  } else if (contains(expected, IDENTIFIER) && contains(expected, NUMBER)) {
    message = "expected expression " + where;
  } else {
    std::vector<int> wanted;
    for (int code : expected) {
      if (!continues_an_expression(code)) wanted.push_back(code);
    }
    if (wanted.empty()) wanted = expected;
    std::vector<std::string> words;
    const bool literals = contains(wanted, NUMBER) && contains(wanted, STRING) &&
                          contains(wanted, ALGEBRAIC);
    if (literals) words.push_back("literal");
    for (int code : wanted) {
      if (literals && (code == NUMBER || code == STRING || code == ALGEBRAIC ||
                       code == VERBATIM || code == RPL_PROGRAM))
        continue;
      words.push_back(spelling(code));
      if (code == ')' || code == ']' || code == '}') closers.push_back(code);
    }
    constexpr std::size_t most_listed = 4;
    message = words.size() <= most_listed ? "expected " + listed(words) + " " + where
                                          : "unexpected " + token_text(place.source, at);
    if (words.size() > most_listed) closers.clear();
  }
  error(at.begin, message);

  // The bracket that the one expected would close.
  if (closers.size() == 1) {
    auto open = place.open_brackets.rbegin();
    if (open != place.open_brackets.rend() && open->begin == at.begin && !at_end) ++open;
    if (open != place.open_brackets.rend()) {
      const int opener = open->token;
      const int closer = opener == '(' || opener == AT_LPAREN     ? ')'
                         : opener == '[' || opener == AT_LBRACKET ? ']'
                                                                  : '}';
      if (closer == closers[0]) note(open->begin, "to match this " + spelling(opener));
    }
  }
  // "return x;": the word is a name, and a second name cannot follow it.
  if (place.previous.token == IDENTIFIER) {
    const std::string_view word =
        place.source.substr(place.previous.begin, place.previous.end - place.previous.begin);
    if (word == "return" || word == "break" || word == "continue" || word == "goto") {
      note(place.previous.begin, "'" + std::string(word) + "' is a plain name here, not a statement");
    }
  }
  return found;
}

}  // namespace rplgen::check
