// The benchmark's floor: the compiler's own command line, scanner and parser,
// with a translation whose every action does nothing and whose every text is
// null. It times reading, scanning and parsing alone, the limit that the real
// translation is measured against.
#include <cstddef>
#include <cstdio>

#include "rplgen/command_line.h"
#include "rplgen/translate/constants.h"
#include "rplgen/translate/elements.h"
#include "rplgen/translate/expressions.h"
#include "rplgen/translate/locals.h"
#include "rplgen/translate/program.h"
#include "rplgen/translate/statements.h"
#include "support/text.h"

int main(int argc, char** argv) { return rplgen::run_command_line(argc, argv); }

// The grammar joins statement lists itself, and releases the texts of a parse
// given up.
namespace rpl {
Text* xstrcat_array(Text* const*, std::size_t) { return nullptr; }
void text_free(Text*) {}
}  // namespace rpl

namespace rplgen {

std::FILE* outfile = stdout;  // the program writer's, which the floor replaces

void no_program() {}
void write_program(Text*) {}
Text* empty_text() { return nullptr; }
Text* make_function(Text*, Text*, Text*) { return nullptr; }
void open_local_table() {}
void add_local(Text*, Text*) {}

Text* if_statement(Text*, Text*) { return nullptr; }
Text* if_else_statement(Text*, Text*, Text*) { return nullptr; }
Text* for_statement(Text*, Text*, Text*, Text*) { return nullptr; }
Text* for_without_condition(Text*, Text*, Text*) { return nullptr; }
Text* while_statement(Text*, Text*) { return nullptr; }
Text* do_while_statement(Text*, Text*) { return nullptr; }
Text* switch_statement(Text*, Text*) { return nullptr; }
Text* case_clause(Text*, Text*) { return nullptr; }
Text* default_clause(Text*) { return nullptr; }
Text* expression_statement(Text*) { return nullptr; }
Text* element_store(Text*, Text*, Text*) { return nullptr; }
Text* list_store(Text*, Text*) { return nullptr; }

Text* binary(Binary, Text*, Text*) { return nullptr; }
Text* store(Store, Text*, Text*) { return nullptr; }
Text* conditional(Text*, Text*, Text*) { return nullptr; }
std::function<void()> on_cannot_assign;
std::function<Text**()> complete_statements;
Text* negate(Text*) { return nullptr; }
Text* logical_not(Text*) { return nullptr; }
Text* increment(Text*) { return nullptr; }
Text* decrement(Text*) { return nullptr; }
Text* factorial(Text*) { return nullptr; }
Text* index_expr(Text*, Text*) { return nullptr; }
Text* call(Text*) { return nullptr; }
Text* call_with_arguments(Text*, Text*) { return nullptr; }
Text* comma_join(Text*, Text*) { return nullptr; }
Text* vector_literal(Text*) { return nullptr; }
Text* list_literal(Text*) { return nullptr; }
Text* empty_list() { return nullptr; }
Text* complex_literal(Text*, Text*) { return nullptr; }

Text* identifier_text(std::string_view) { return nullptr; }
Text* number_text(std::string_view) { return nullptr; }
Text* algebraic_text(std::string_view) { return nullptr; }
Text* verbatim_text(std::string_view) { return nullptr; }
Text* rpl_program_text(std::string_view) { return nullptr; }
Text* string_text(std::string_view) { return nullptr; }

}  // namespace rplgen
