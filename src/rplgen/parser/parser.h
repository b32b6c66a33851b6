// The parser: an LALR(1) parser of the whole source grammar that runs the
// translation action of each rule as it reduces by it. Its names carry the
// prefix "rplgen_yy", like the scanner's.
#pragma once

#include <cstddef>

// Parses the current scanner input; returns 0 once the input is accepted.
// A syntax error or a parser stack overflow ends the process.
int rplgen_yyparse();

// Reports a syntax error or a stack overflow on the current line and ends
// the process with status 1.
[[noreturn]] void rplgen_yyerror(const char* message);

namespace rplgen {

// Reports an assignment to what cannot be assigned, where the parser stands, as
// a syntax error: the statements complete before it are written first, and the
// process ends with status 1.
[[noreturn]] void report_cannot_assign();

// Storage for the parser's stacks, as malloc gives it; exhausted memory ends
// the process (rpl::out_of_memory) instead of returning null.
void* parser_stack_allocate(std::size_t size);

}  // namespace rplgen
