// The scanner: cuts the current input into token codes for the parser.
//
// Token codes are 0 at end of input, the named codes of the grammar (257 to
// 299), or the byte value of a single character delivered as itself. Tokens
// carry no value: the text of the token just delivered is the lexeme.
//
// The scanner's own names carry the prefix "rplgen_yy" (flex's yyin, yylex and
// so on), so that another scanner can live in the same program.
#pragma once

#include <cstdio>
#include <string_view>

extern std::FILE* rplgen_yyin;
extern char* rplgen_yytext;
extern int rplgen_yyleng;

int rplgen_yylex();
void rplgen_yyrestart(std::FILE* stream);

namespace rplgen {

// The current source line of the input being scanned; the compile loop sets it
// to 1 before each input.
extern long lineno;

// The text of the token most recently delivered by rplgen_yylex, with every
// NUL byte of the input in its place.
std::string_view current_lexeme();

}  // namespace rplgen
