#include "rplgen/translate/statements.h"

#include <algorithm>
#include <charconv>

#include "rplgen/translate/records.h"

namespace rplgen {

using rpl::text_view;
using rpl::xstrdup;
using rpl::xstrfmt;

Text* if_statement(Text* condition, Text* then_statement) {
  return xstrfmt("IF %s\nTHEN %s\nEND\n", condition, then_statement);
}

Text* if_else_statement(Text* condition, Text* then_statement, Text* else_statement) {
  return xstrfmt("IF %s\nTHEN %s\nELSE %s\nEND\n", condition, then_statement, else_statement);
}

// A for loop is a WHILE loop whose REPEAT part runs the body, then the step.
Text* for_statement(Text* init, Text* condition, Text* step, Text* body) {
  return xstrfmt("%s WHILE %s\nREPEAT %s %s\nEND\n", init, condition, body, step);
}

Text* for_without_condition(Text* init, Text* step, Text* body) {
  return xstrfmt("%s WHILE 1\nREPEAT %s %s\nEND\n", init, body, step);
}

Text* while_statement(Text* condition, Text* body) {
  return xstrfmt("WHILE %s\nREPEAT %s\nEND\n", condition, body);
}

// RPL's DO loop runs until its condition holds; the source's runs while it does.
Text* do_while_statement(Text* body, Text* condition) {
  return xstrfmt("DO %s UNTIL %s NOT\nEND\n", body, condition);
}

// The value is bound to the local "$" once; each clause tests "$" in one CASE.
// The final newline keeps the next statement apart from the closing "\>>".
Text* switch_statement(Text* value, Text* clauses) {
  return xstrfmt("%s \\-> $\n\\<<CASE\n%s\nEND\\>>\n", value, clauses);
}

Text* case_clause(Text* value, Text* statement) {
  return xstrfmt("\n$ %s == THEN\n%s END\n", value, statement);
}

// Code after the last THEN ... END of a CASE runs when no test succeeded.
Text* default_clause(Text* statement) { return xstrfmt("\n%s", statement); }

// No expression outlives its statement: the records of its parts go with it.
Text* expression_statement(Text* expr) {
  forget_records();
  return xstrfmt("%s\n", expr);
}

long count_items(const Text* text) {
  const std::string_view bytes = text_view(text);
  return static_cast<long>(std::count(bytes.begin(), bytes.end(), ',')) + 1;
}

// The values are gathered into a list as long as the list of targets, and
// STO is applied pairwise. Every comma of the targets' text counts a target.
Text* list_store(Text* targets, Text* values) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, count_items(targets)).ptr;
  Text* count = xstrdup(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  return xstrfmt("%s %s \\->LIST {%s} 2 \\<<STO\\>> DOLIST\n", values, count, targets);
}

}  // namespace rplgen
