#include "rplgen/parser/parser.h"

#include <cstring>

#include "rplgen/lexer/scanner.h"
#include "support/diagnostics.h"

// Bison words its two messages "syntax error" and "memory exhausted"; the
// latter is only ever the stack reaching its cap.
void rplgen_yyerror(const char* message) {
  const bool overflow = std::strcmp(message, "memory exhausted") == 0;
  rpl::fatal(1, "%ld: %s", rplgen::lineno, overflow ? "parser stack overflow" : "parse error");
}
