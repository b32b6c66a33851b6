// The local tables of function definitions. "declare" opens a table, each
// local declaration of the header adds to it, and the definition's end closes
// it. Tables stack, so a definition nested in another's body keeps its own
// locals apart from the outer ones.
#pragma once

#include <vector>

#include "support/text.h"

namespace rplgen {

using rpl::Text;
using rpl::TextPtr;

struct Local {
  TextPtr name;
  TextPtr initial_value;
};

void open_local_table();
// Adds a local to the innermost open table; consumes both texts.
void add_local(Text* name, Text* initial_value);
// Closes the innermost open table and hands over its locals in source order.
std::vector<Local> close_local_table();

}  // namespace rplgen
