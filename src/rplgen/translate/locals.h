// The local tables of function definitions. "declare" opens a table, each
// local declaration of the header adds to it, and the definition's end closes
// it. Tables stack, so a definition nested in another's body keeps its own
// locals apart from the outer ones.
//
// A table keeps its locals as two texts that grow with each one, the initial
// values and the names, each list separated by commas: a function with a
// million locals holds no more than the text of its header.
#pragma once

#include "support/text.h"

namespace rplgen {

using rpl::Text;
using rpl::TextPtr;

struct Locals {
  TextPtr initial_values;  // "v1,v2,...", or null without locals
  TextPtr names;           // "n1,n2,...", or null without locals
};

void open_local_table();
// Adds a local to the innermost open table; consumes both texts.
void add_local(Text* name, Text* initial_value);
// Closes the innermost open table and hands over its locals in source order.
Locals close_local_table();
// Closes every open table, as after an input whose parse was abandoned.
void close_all_local_tables();

}  // namespace rplgen
