// Token streams: what the scanner makes of source text, token by token, with
// the lexeme and the line each token was delivered on.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "rplgen/lexer/scanner.h"
#include "rplgen/parser/grammar.hpp"

namespace {

using rplgen::current_lexeme;
using rplgen::lineno;

struct Token {
  int code;
  std::string lexeme;
  long line = 0;  // 0: not checked

  bool operator==(const Token& other) const {
    return code == other.code && lexeme == other.lexeme &&
           (line == 0 || other.line == 0 || line == other.line);
  }
};

const char* const named[] = {
    "ASSIGN", "CASE", "DECLARE", "DEFAULT", "DO", "ELSE", "FOR", "IF", "SWITCH", "WHILE",
    "AT_LBRACKET", "AT_RBRACKET", "AT_LBRACE", "AT_RBRACE", "AT_LPAREN", "AT_RPAREN",
    "IDENTIFIER", "NUMBER", "ALGEBRAIC", "VERBATIM", "STRING", "RPL_PROGRAM",
    "RIGHT_ASSIGN", "LEFT_ASSIGN", "ADD_ASSIGN", "SUB_ASSIGN", "MUL_ASSIGN", "DIV_ASSIGN",
    "MOD_ASSIGN", "AMPERSAND_ASSIGN", "CARET_ASSIGN", "BAR_ASSIGN", "POW_OP", "RIGHT_OP",
    "LEFT_OP", "INC_OP", "DEC_OP", "AND_OP", "OR_OP", "LE_OP", "GE_OP", "EQ_OP", "NE_OP"};

void PrintTo(const Token& token, std::ostream* os) {
  if (token.code >= ASSIGN && token.code <= NE_OP) {
    *os << named[token.code - ASSIGN];
  } else {
    *os << "code " << token.code;
  }
  *os << ' ' << testing::PrintToString(token.lexeme);
  if (token.line != 0) *os << " @" << token.line;
}

// The whole token dump of one input: every token up to the end of input, and
// the line counter once the end has been reported.
struct Dump {
  std::vector<Token> tokens;
  long final_line;
};

Dump scan(const std::string& source) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fwrite(source.data(), 1, source.size(), file);
  std::rewind(file);
  rplgen_yyrestart(file);
  lineno = 1;
  Dump dump{{}, 0};
  for (int code; (code = rplgen_yylex()) != 0;) {
    dump.tokens.push_back({code, std::string(current_lexeme()), lineno});
    if (dump.tokens.size() > source.size() + 1) break;  // the scanner is stuck
  }
  dump.final_line = lineno;
  std::fclose(file);
  return dump;
}

std::vector<Token> tokens(const std::string& source) { return scan(source).tokens; }

// A single-character token.
Token ch(char c) { return {static_cast<unsigned char>(c), std::string(1, c)}; }

Token id(std::string lexeme, long line = 0) { return {IDENTIFIER, std::move(lexeme), line}; }
Token num(std::string lexeme) { return {NUMBER, std::move(lexeme)}; }

struct Case {
  std::string source;
  std::vector<Token> expected;
};

void expect_streams(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(tokens(c.source), c.expected) << "source: " << testing::PrintToString(c.source);
  }
}

std::string nul(std::string_view before, std::string_view after) {
  std::string s(before);
  s += '\0';
  s += after;
  return s;
}

TEST(Tokens, KeywordsMatchOnlyExactlyAndInLowerCase) {
  expect_streams({
      {"assign case declare default do else for if switch while",
       {{ASSIGN, "assign"}, {CASE, "case"}, {DECLARE, "declare"}, {DEFAULT, "default"},
        {DO, "do"}, {ELSE, "else"}, {FOR, "for"}, {IF, "if"}, {SWITCH, "switch"},
        {WHILE, "while"}}},
      {"ifx if1 if.x IF While", {id("ifx"), id("if1"), id("if.x"), id("IF"), id("While")}},
      {"break return int", {id("break"), id("return"), id("int")}},
      {"doelse", {id("doelse")}},
  });
}

TEST(Tokens, IdentifiersAreLettersDollarsDotsAndEscapes) {
  expect_streams({
      {"a_b", {id("a"), ch('_'), id("b")}},
      {"$x x$1 a.b.c . ..5", {id("$x"), id("x$1"), id("a.b.c"), id("."), id("..5")}},
      {"1a", {num("1"), id("a")}},
      {"a\\+b", {id("a\\+b")}},
      {"\\ ", {id("\\ ")}},
      {"\\1x", {id("\\1x")}},
      {"a\\\\b", {id("a\\\\b")}},
      {"a\\\"b\\'", {id("a\\\"b\\'")}},
      // A backslash before a newline or the end of input begins no escape.
      {"a\\\nb", {id("a"), ch('\\'), id("b")}},
      {"a\\", {id("a"), ch('\\')}},
  });
}

TEST(Tokens, NumbersHaveNoSignPrefixOrSuffix) {
  expect_streams({
      {"0x1F", {num("0"), id("x1F")}},
      {"007 5. 5.e3 5e3 1.5e3 5.5e-3 5E+3",
       {num("007"), num("5."), num("5.e3"), num("5e3"), num("1.5e3"), num("5.5e-3"),
        num("5E+3")}},
      {"5e", {num("5"), id("e")}},
      {"5e+", {num("5"), id("e"), ch('+')}},
      {"1.2.3", {num("1.2"), id(".3")}},
      // A leading "." makes an identifier unless the exponent carries a sign.
      {".5 .5e3 .5e+3 .5e-3", {id(".5"), id(".5e3"), num(".5e+3"), num(".5e-3")}},
      {"-5", {ch('-'), num("5")}},
      {"5", {num("5")}},
  });
}

TEST(Tokens, QuotedLiteralsKeepTheirDelimiters) {
  expect_streams({
      {"'' `` \"\"", {{ALGEBRAIC, "''"}, {VERBATIM, "``"}, {STRING, "\"\""}}},
      {"'a+b'c", {{ALGEBRAIC, "'a+b'"}, id("c")}},
      {"'a\nb'", {{ALGEBRAIC, "'a\nb'"}}},
      {"`1 2 +`", {{VERBATIM, "`1 2 +`"}}},
      {"'\"' \"'\"", {{ALGEBRAIC, "'\"'"}, {STRING, "\"'\""}}},
      // A backslash protects no single quote or backquote.
      {"'a\\'", {{ALGEBRAIC, "'a\\'"}}},
      {"`a\\``", {{VERBATIM, "`a\\`"}, ch('`')}},
      // In a string, an escaped double quote continues it if a later one closes.
      {"\"a\\\"b\"", {{STRING, "\"a\\\"b\""}}},
      {"\"a\\\"", {{STRING, "\"a\\\""}}},
      {"\"a\\\" + \"b\"", {{STRING, "\"a\\\" + \""}, id("b"), ch('"')}},
      {"\"a\\n\"", {{STRING, "\"a\\n\""}}},
  });
}

TEST(Tokens, UnterminatedLiteralFallsBackToItsOpeningCharacter) {
  expect_streams({
      {"'abc", {ch('\''), id("abc")}},
      {"`abc", {ch('`'), id("abc")}},
      {"\"abc", {ch('"'), id("abc")}},
      {"'a\n'b'", {{ALGEBRAIC, "'a\n'"}, id("b"), ch('\'')}},
  });
}

TEST(Tokens, ProgramLiteralEndsAtTheLastCloserOfItsLine) {
  expect_streams({
      {"@<< 1 2 + >> x >>", {{RPL_PROGRAM, "@<< 1 2 + >> x >>"}}},
      {"@<<>>", {{RPL_PROGRAM, "@<<>>"}}},
      {"@<<>>>", {{RPL_PROGRAM, "@<<>>>"}}},
      {"@<< a >> ;\n>>", {{RPL_PROGRAM, "@<< a >>"}, ch(';'), {RIGHT_OP, ">>"}}},
      {"@<< a", {ch('@'), {LEFT_OP, "<<"}, id("a")}},
      {"@<< a\nb >>", {ch('@'), {LEFT_OP, "<<"}, id("a"), id("b"), {RIGHT_OP, ">>"}}},
      // Without a closer on its line, a second opener there stands alone too;
      // the next line may hold a literal again.
      {"@<< @<< a\n@<< b >>",
       {ch('@'), {LEFT_OP, "<<"}, ch('@'), {LEFT_OP, "<<"}, id("a"), {RPL_PROGRAM, "@<< b >>"}}},
      {"@<< /* */ >>", {{RPL_PROGRAM, "@<< /* */ >>"}}},
      {"@<<x '\n' @<< y >>", {ch('@'), {LEFT_OP, "<<"}, id("x"), {ALGEBRAIC, "'\n'"},
                              {RPL_PROGRAM, "@<< y >>"}}},
      {"@ @x", {ch('@'), ch('@'), id("x")}},
  });
}

TEST(Tokens, AtOpenersAndOperatorsTakeTheLongestMatch) {
  expect_streams({
      {"@[ @] @{ @} @( @)",
       {{AT_LBRACKET, "@["}, {AT_RBRACKET, "@]"}, {AT_LBRACE, "@{"}, {AT_RBRACE, "@}"},
        {AT_LPAREN, "@("}, {AT_RPAREN, "@)"}}},
      {">>= <<= += -= *= /= %= &= ^= |= ** >> << ++ -- && || <= >= == !=",
       {{RIGHT_ASSIGN, ">>="}, {LEFT_ASSIGN, "<<="}, {ADD_ASSIGN, "+="}, {SUB_ASSIGN, "-="},
        {MUL_ASSIGN, "*="}, {DIV_ASSIGN, "/="}, {MOD_ASSIGN, "%="}, {AMPERSAND_ASSIGN, "&="},
        {CARET_ASSIGN, "^="}, {BAR_ASSIGN, "|="}, {POW_OP, "**"}, {RIGHT_OP, ">>"},
        {LEFT_OP, "<<"}, {INC_OP, "++"}, {DEC_OP, "--"}, {AND_OP, "&&"}, {OR_OP, "||"},
        {LE_OP, "<="}, {GE_OP, ">="}, {EQ_OP, "=="}, {NE_OP, "!="}}},
      {"+++", {{INC_OP, "++"}, ch('+')}},
      {"**=", {{POW_OP, "**"}, ch('=')}},
      {"===", {{EQ_OP, "=="}, ch('=')}},
      {"-->", {{DEC_OP, "--"}, ch('>')}},
      {"->", {ch('-'), ch('>')}},
      {"<<=<", {{LEFT_ASSIGN, "<<="}, ch('<')}},
      {"a>>=b", {id("a"), {RIGHT_ASSIGN, ">>="}, id("b")}},
      {"!!x", {ch('!'), ch('!'), id("x")}},
  });
}

TEST(Tokens, OtherCharactersArriveAsThemselves) {
  std::vector<Token> grammar_characters;
  for (const char c : std::string("!%&()*+,-/:;<=>?[]^{|}~")) grammar_characters.push_back(ch(c));
  expect_streams({
      {"! % & ( ) * + , - / : ; < = > ? [ ] ^ { | } ~", grammar_characters},
      {"\\ \"", {id("\\ "), ch('"')}},
      {"_ \x01 \x7f", {ch('_'), ch('\x01'), ch('\x7f')}},
      {"a\r\nb", {id("a"), ch('\r'), id("b")}},
      {"x\xe9y \xff", {id("x"), {233, "\xe9"}, id("y"), {255, "\xff"}}},
      // Space, tab, vertical tab and form feed separate tokens and vanish.
      {" \t\v\fa \t\v\fb", {id("a"), id("b")}},
  });
}

TEST(Tokens, CommentsVanishWithoutNesting) {
  expect_streams({
      {"a/*x*/b", {id("a"), id("b")}},
      {"/* a /* b */ c */", {id("c"), ch('*'), ch('/')}},
      {"a /* x **/ b", {id("a"), id("b")}},
      {"a /* x * / b */ c", {id("a"), id("c")}},
      {"a /*/ b */ c", {id("a"), id("c")}},
      {"a /**/ b", {id("a"), id("b")}},
      {"x # note\ny // note\nz", {id("x"), id("y"), id("z")}},
      {"a#b", {id("a")}},
      {"a//b", {id("a")}},
      {"'# not a comment'", {{ALGEBRAIC, "'# not a comment'"}}},
      {"\"/* nor this */\"", {{STRING, "\"/* nor this */\""}}},
      // A block comment that the input ends inside is a token without text,
      // which no parser state accepts; line comments end quietly.
      {"a /* b\n c", {id("a"), {RPLGEN_YYUNDEF, ""}}},
      {"a /* b *", {id("a"), {RPLGEN_YYUNDEF, ""}}},
      {"a // b", {id("a")}},
      {"a #", {id("a")}},
  });
}

// A NUL byte is content inside literals and comments; elsewhere it is a token
// that no parser state accepts, and scanning goes on after it.
TEST(Tokens, NulBytesAreContentInsideLiteralsAndCommentsOnly) {
  expect_streams({
      {nul("a ", " b"), {id("a"), {RPLGEN_YYUNDEF, std::string(1, '\0')}, id("b")}},
      {nul("a", "b"), {id("a"), {RPLGEN_YYUNDEF, std::string(1, '\0')}, id("b")}},
      {nul("", ""), {{RPLGEN_YYUNDEF, std::string(1, '\0')}}},
      {nul("'a", "b'"), {{ALGEBRAIC, nul("'a", "b'")}}},
      {nul("`a", "b`"), {{VERBATIM, nul("`a", "b`")}}},
      {nul("\"a", "b\""), {{STRING, nul("\"a", "b\"")}}},
      {nul("@<< a", " >>"), {{RPL_PROGRAM, nul("@<< a", " >>")}}},
      {nul("a /* x", " */ b"), {id("a"), id("b")}},
      {nul("a /* x *", "/ b */ c"), {id("a"), id("c")}},
      {nul("a // x", " b\nc"), {id("a"), id("c")}},
      {nul("a # x", " b\nc"), {id("a"), id("c")}},
      {nul("a\\", "b"), {id(nul("a\\", "b"))}},
      // The byte 1, which stands in for a NUL inside the scanner, stays itself.
      {"a\1b", {id("a"), ch('\1'), id("b")}},
      {nul("'\1", "\1'"), {{ALGEBRAIC, nul("'\1", "\1'")}}},
      {nul("\\\1\\", ""), {id(nul("\\\1\\", ""))}},
  });
}

struct LineCase {
  std::string source;
  std::vector<long> lines;  // the line of each token, in order
  long final_line;
};

// The line counter is 1 plus every newline consumed so far, wherever it stood.
TEST(Tokens, LinesCountEveryNewlineConsumed) {
  const std::vector<LineCase> cases = {
      {"", {}, 1},
      {"a", {1}, 1},
      {"a\n", {1}, 2},
      {"a\nb\n\nc", {1, 2, 4}, 4},
      {"'a\nb' c", {2, 2}, 2},
      {"`a\n\nb` c\n", {3, 3}, 4},
      {"\"a\nb\" c", {2, 2}, 2},
      {"\"a\\\n\\\"\n\" c", {3, 3}, 3},
      {"a /* x\ny\n */ b", {1, 3}, 3},
      {"a /* x *\n/ y */ b", {1, 2}, 2},
      // An unterminated block comment is delivered on the line where it began.
      {"a\n/* x\ny", {1, 2}, 2},
      {"a // x\nb # y\nc", {1, 2, 3}, 3},
      // A line comment without a newline at the end of input adds no line.
      {"a\n// x", {1}, 2},
      {"a\n# x", {1}, 2},
      {"a\\\nb", {1, 1, 2}, 2},
      {"'x\n", {1, 1}, 2},
      {"@<< a\n>>", {1, 1, 1, 2}, 2},
      {"\r\na", {1, 2}, 2},
  };
  for (const LineCase& c : cases) {
    const Dump dump = scan(c.source);
    std::vector<long> lines;
    for (const Token& token : dump.tokens) lines.push_back(token.line);
    EXPECT_EQ(lines, c.lines) << "source: " << testing::PrintToString(c.source);
    EXPECT_EQ(dump.final_line, c.final_line) << "source: " << testing::PrintToString(c.source);
  }
}

// The input buffer holds 16384 bytes and grows only for a lexeme or comment
// that does not fit; a token must come out whole whatever its length, and what
// follows it must be scanned as if the buffer had been large from the start.
TEST(Tokens, LongTokensAndCommentsCrossTheBufferWhole) {
  for (const std::size_t length : {16381, 16382, 16383, 16384, 16385, 32767, 32768, 100000}) {
    SCOPED_TRACE(length);
    const std::string name(length, 'n');
    EXPECT_EQ(tokens("x " + name + " y"), (std::vector<Token>{id("x"), id(name), id("y")}));
    const std::string digits(length, '7');
    EXPECT_EQ(tokens(digits + ".5e-3;"), (std::vector<Token>{num(digits + ".5e-3"), ch(';')}));

    const std::string body(length, 'b');
    const std::string algebraic = "'" + body + "\n" + body + "'";
    EXPECT_EQ(tokens("x " + algebraic + " y"),
              (std::vector<Token>{id("x"), {ALGEBRAIC, algebraic}, id("y")}));
    const std::string string = "\"" + body + "\\\"" + body + "\"";
    EXPECT_EQ(tokens(string + "y"), (std::vector<Token>{{STRING, string}, id("y")}));
    const std::string program = "@<<" + body + ">>" + body + ">>";
    EXPECT_EQ(tokens(program + "\ny"), (std::vector<Token>{{RPL_PROGRAM, program}, id("y", 2)}));
    // An unterminated literal that long still falls back to its quote.
    EXPECT_EQ(tokens("`" + body), (std::vector<Token>{ch('`'), id(body)}));
    // NUL bytes and bytes 1 keep their places, also in a lexeme that was
    // moved to the front of the buffer or read in several parts.
    std::string mixed(length, 'm');
    mixed[0] = mixed[length / 2] = mixed[length - 1] = '\0';
    mixed[length / 3] = '\1';
    const std::string mixed_string = "\"" + mixed + "\"";
    EXPECT_EQ(tokens(mixed_string + mixed_string),
              (std::vector<Token>{{STRING, mixed_string}, {STRING, mixed_string}}));

    std::string comment_body(length, 'c');
    comment_body[length / 2] = '\n';
    comment_body[length / 3] = '\0';
    const Dump block = scan("x /*" + comment_body + "*/ y /*" + comment_body);
    EXPECT_EQ(block.tokens, (std::vector<Token>{id("x", 1), id("y", 2), {RPLGEN_YYUNDEF, "", 2}}));
    EXPECT_EQ(block.final_line, 2);
    const Dump line = scan("x //" + std::string(length, 'c') + "\ny #" + std::string(length, 'c'));
    EXPECT_EQ(line.tokens, (std::vector<Token>{id("x", 1), id("y", 2)}));
    EXPECT_EQ(line.final_line, 2);
  }
}

// Comments are skipped in runs of a bounded length: wherever a run breaks
// off, in text, in stars or before a newline, the comment ends where it should.
TEST(Tokens, CommentsEndWhereverTheirRunsBreakOff) {
  for (const std::size_t length : {1, 63, 64, 65, 128, 129, 300}) {
    SCOPED_TRACE(length);
    const std::string stars(length, '*');
    const std::string text(length, 'c');
    EXPECT_EQ(tokens("a /*" + stars + "/ b"), (std::vector<Token>{id("a"), id("b")}));
    EXPECT_EQ(tokens("a /*" + text + stars + text + " " + stars + "/ b"),
              (std::vector<Token>{id("a"), id("b")}));
    const Dump lines = scan("a /*" + text + "\n" + stars + "\n*/ b //" + text + "\nc #" + text);
    EXPECT_EQ(lines.tokens, (std::vector<Token>{id("a", 1), id("b", 3), id("c", 4)}));
    EXPECT_EQ(lines.final_line, 4);
  }
}

// Switching inputs takes nothing but a new rplgen_yyin once the last one has ended.
TEST(Tokens, AfterTheEndOfInputTheNextStreamIsRead) {
  EXPECT_EQ(tokens("a @<< b"), (std::vector<Token>{id("a"), ch('@'), {LEFT_OP, "<<"}, id("b")}));
  std::FILE* next = std::tmpfile();
  ASSERT_NE(next, nullptr);
  std::fputs("@<< c >> d", next);
  std::rewind(next);
  rplgen_yyin = next;
  lineno = 1;
  EXPECT_EQ(rplgen_yylex(), RPL_PROGRAM);
  EXPECT_EQ(current_lexeme(), "@<< c >>");
  EXPECT_EQ(rplgen_yylex(), IDENTIFIER);
  EXPECT_EQ(rplgen_yylex(), 0);
  std::fclose(next);
}

}  // namespace
