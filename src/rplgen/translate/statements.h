// The RPL of the statements other than function definitions. Each function
// applies one template and consumes the texts it is given.
#pragma once

#include "support/text.h"

namespace rplgen {

using rpl::Text;

Text* if_statement(Text* condition, Text* then_statement);
Text* if_else_statement(Text* condition, Text* then_statement, Text* else_statement);
Text* for_statement(Text* init, Text* condition, Text* step, Text* body);
Text* for_without_condition(Text* init, Text* step, Text* body);
Text* while_statement(Text* condition, Text* body);
Text* do_while_statement(Text* body, Text* condition);
Text* switch_statement(Text* value, Text* clauses);
Text* case_clause(Text* value, Text* statement);
Text* default_clause(Text* statement);
Text* expression_statement(Text* expr);
// assign @{ targets } = values;
Text* list_store(Text* targets, Text* values);

// The number of commas in the text plus one, wherever the commas stand: the
// number of targets of a list store.
long count_items(const Text* text);

}  // namespace rplgen
