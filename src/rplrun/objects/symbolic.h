// Algebraics taken apart and rebuilt on their postfix items: the operands of the
// function applied last, the object a run of items stands for, and copies with names
// or numbers replaced (substitution, user functions, fractions).
//
// An algebraic may hold whole objects as single items: the unevaluated arguments of
// QUOTE and the left side of | (algebraics), and the bindings of | (a list of names
// and values). They are pushed as they are when the algebraic is evaluated.
#pragma once

#include <functional>
#include <vector>

#include "objects/object.h"

namespace rplrun {

// How many operands the item takes from the items before it.
std::size_t operand_count(const Object& item);

// The operands of the last item (the function applied last), in order, each as its
// postfix items.
std::vector<std::vector<Object>> last_operands(std::span<const Object> postfix);

// The object a run of postfix items stands for: a lone number or whole object is itself,
// a lone name the quoted name, anything else an algebraic.
Object object_of(std::vector<Object> postfix);

// An operand kept whole inside an algebraic and pushed unevaluated when the algebraic
// is evaluated (the function of a derivative, integral or sum, and its variable): a
// name quoted, a number itself, an algebraic as one item.
Object kept_item(const Object& operand);

// Called for every name, number and call item: returns true and appends to `out` the
// items that replace it, or returns false to keep it.
using Replacer = std::function<bool(const Object& item, std::vector<Object>& out)>;

// A copy of the postfix items with replacements made, inside whole objects too.
std::vector<Object> rewrite(std::span<const Object> postfix, const Replacer& replace);
// The same for an object: an algebraic's items, a name or a number itself.
Object rewrite_object(const Object& object, const Replacer& replace);

}  // namespace rplrun
