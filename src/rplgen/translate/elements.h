// Elements of indexed expressions, v[k], m[i][j], f(x)[k]: how one is read, and
// how a value is stored into one.
//
// An element of a named variable whose index is names and numbers is the
// calculator's own algebraic form, 'v(k)' or 'm(i,j)'. Any other element is read
// with GET: each index is computed once, a list of several indices ("m[i + 1, j]")
// becomes a list object. In a chain, each [ ] takes an element of a list, and the
// last two take the element of a matrix at once when the object they index is one.
#pragma once

#include <string_view>

#include "rplgen/translate/forms.h"

namespace rplgen {

// The element `index` of `indexed`, read.
Text* index_expr(Text* indexed, Text* index);

// Whether a value may be stored into the element: its indexed object is a
// variable, named.
bool is_stored_element(const Text* element);

// Stores the value into the element; with a `combine` word ("+", "MOD"), the
// element's value combined with the value, read and written back with each index
// computed once. Leaves nothing on the stack.
Text* store_into_element(Text* element, Text* value, std::string_view combine);

// "assign name[indices] = value;"
Text* element_store(Text* name, Text* indices, Text* value);

}  // namespace rplgen
