#include "rplgen/compile.h"

#include <cstring>

#include "support/diagnostics.h"
#include "rplgen/lexer/scanner.h"
#include "rplgen/parser/parser.h"

const char* progname = "rplgen";
std::FILE* outfile = stdout;
long lineno = 1;

void compile_file(const char* path) {
  const bool standard_input = path == nullptr || std::strcmp(path, "-") == 0;
  if (standard_input) {
    yyin = stdin;
  } else {
    yyin = std::fopen(path, "r");
    if (yyin == nullptr) fatal_errno(1, "%s", path);
  }
  lineno = 1;
  yyparse();  // returns only when the input was accepted
  if (!standard_input) std::fclose(yyin);  // errors on closing an input do not matter
}
