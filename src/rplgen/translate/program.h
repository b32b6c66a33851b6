// The outer end of the translation: whole programs, statement lists and
// function definitions.
#pragma once

#include <cstdio>
#include <functional>
#include <string_view>

#include "support/text.h"

namespace rplgen {

using rpl::Text;

// Where the programs are written; main sets it to standard output.
extern std::FILE* outfile;

// What a written program has around its statements.
inline constexpr std::string_view program_opening = "%%HP: T(3)A(R)F(.);\n\\<<\n";
inline constexpr std::string_view program_closing = "\\>>\n";

// Where each input's program goes instead, when set: the statements' text is
// handed to it (null for an input without any), and nothing is written or
// warned of.
extern void (*program_sink)(Text* statements);

// The statements complete at the top level of the parse under way, which the
// bottom of the parser's stack holds, or null; the parser sets it for each
// parse.
extern std::function<Text**()> complete_statements;

// An input without any token: a warning, and nothing is written.
void no_program();

// Writes one input's program to the output: the HP48 ASCII transfer header,
// "\<<", the statements' text as it is, and "\>>". Consumes the text.
void write_program(Text* statements);

// A new empty text: an empty statement, block, body or for-loop clause.
Text* empty_text();

// The RPL of a function definition, which stores a program under the name.
// The parameters are null when the definition has none; the locals are those
// of the innermost open local table, which this closes.
Text* make_function(Text* name, Text* parameters, Text* body);

}  // namespace rplgen
