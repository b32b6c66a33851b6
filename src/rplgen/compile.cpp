#include "rplgen/compile.h"

#include <cstdio>
#include <cstring>

#include "rplgen/lexer/scanner.h"
#include "rplgen/parser/parser.h"
#include "rplgen/translate/expressions.h"
#include "support/diagnostics.h"

namespace rplgen {

void compile_file(const char* path) {
  const bool standard_input = path == nullptr || std::strcmp(path, "-") == 0;
  if (standard_input) {
    rplgen_yyin = stdin;
  } else {
    rplgen_yyin = std::fopen(path, "r");
    if (rplgen_yyin == nullptr) rpl::fatal_errno(1, "%s", path);
  }
  lineno = 1;
  on_cannot_assign = report_cannot_assign;
  rplgen_yyparse();  // returns only when the input was accepted
  if (!standard_input) std::fclose(rplgen_yyin);  // errors on closing an input do not matter
}

}  // namespace rplgen
