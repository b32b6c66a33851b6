// The scanner: cuts the current input into token codes for the parser.
//
// Token codes are 0 at end of input, the named codes of the grammar (257 to
// 299), or the byte value of a single character delivered as itself. Tokens
// carry no value: the text of the token just delivered is the lexeme.
//
// The scanner's own names carry the prefix "rplgen_yy" (flex's yyin, yylex and
// so on), so that another scanner can live in the same program.
#pragma once

#include <cstdint>
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

// Where the text of the token most recently delivered begins: its offset in the
// input since the scanner was last restarted.
std::uint64_t lexeme_offset();

// The token that stands for a block comment that the input ends inside has no
// text: this is the offset where that comment began.
std::uint64_t open_comment_offset();

// Makes `input` the scanner's input, read from its start as a new one: nothing
// of the previous input is kept, however far it was read.
void restart_scanner(std::FILE* input);

}  // namespace rplgen
