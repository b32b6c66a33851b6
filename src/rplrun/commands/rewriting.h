// What the commands that rewrite algebraics share: their arguments as trees, the ids of
// the functions they know by name, and the tree rewritings they lend each other.
#pragma once

#include <cstdint>

#include "objects/expression.h"
#include "objects/object.h"

namespace rplrun {

class Machine;

// A number, a name or an algebraic as a tree; anything else is Bad Argument Type.
Expr expression_arg(const Object& x);
// The name a command rewrites for: a name object, quoted or not.
const Symbol* variable_arg(const Object& x);

// The id of a built-in function the rewriting names (SIN, LN...).
std::uint32_t function_id(const char* hp_name);

// The sum `a op b` and the like, simplified as it is built.
Expr sum_of(Expr a, Expr b);
Expr difference_of(Expr a, Expr b);
Expr product_of(Expr a, Expr b);
Expr quotient_of(Expr a, Expr b);
Expr power_of(Expr a, Expr b);
Expr negation_of(Expr a);
Expr function_of(const char* hp_name, Expr a);

// COLCT: like terms and factors collected, constants first (see collect.cpp).
Expr collect(Machine& m, const Expr& tree);

}  // namespace rplrun
