// The scanner: cuts the current input into token codes for the parser.
//
// Token codes are 0 at end of input, the named codes of the grammar (257 to
// 299), or the byte value of a single character delivered as itself. Tokens
// carry no value: the text of the token just delivered is the lexeme.
#pragma once

#include <cstdio>
#include <string_view>

extern std::FILE* yyin;
extern char* yytext;
extern int yyleng;

int yylex();
void yyrestart(std::FILE* stream);

// The text of the token most recently delivered by yylex.
inline std::string_view current_lexeme() {
  return {yytext, static_cast<std::size_t>(yyleng)};
}
