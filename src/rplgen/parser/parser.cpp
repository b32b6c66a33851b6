#include "rplgen/parser/parser.h"

#include <cstdlib>
#include <cstring>

#include "rplgen/lexer/scanner.h"
#include "rplgen/translate/program.h"
#include "support/diagnostics.h"
#include "support/memory.h"

// Bison words its two messages "syntax error" and "memory exhausted"; the
// latter is only ever the stack reaching its cap, since its growth does not
// fail (parser_stack_allocate).
void rplgen_yyerror(const char* message) {
  const bool overflow = std::strcmp(message, "memory exhausted") == 0;
  rpl::fatal(1, "%ld: %s", rplgen::lineno, overflow ? "parser stack overflow" : "parse error");
}

void rplgen::report_cannot_assign() {
  if (rpl::Text** statements = complete_statements()) write_program(*statements);
  rpl::fatal(1, "%ld: cannot assign to this expression", rplgen::lineno);
}

void* rplgen::parser_stack_allocate(std::size_t size) {
  void* storage = std::malloc(size);
  if (storage == nullptr) rpl::out_of_memory();
  return storage;
}
