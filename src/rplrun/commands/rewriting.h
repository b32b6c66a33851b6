// What the commands that rewrite algebraics share: their arguments as trees and the tree
// rewritings they lend each other.
#pragma once

#include <cstdint>
#include <functional>

#include "objects/expression.h"
#include "objects/object.h"

namespace rplrun {

class Machine;

// A number, a name or an algebraic as a tree; anything else is Bad Argument Type.
Expr expression_arg(const Object& x);
// The name a command rewrites for: a name object, quoted or not.
const Symbol* variable_arg(const Object& x);

// The sum `a op b` and the like, simplified as it is built.
Expr sum_of(Expr a, Expr b);
Expr difference_of(Expr a, Expr b);
Expr product_of(Expr a, Expr b);
Expr quotient_of(Expr a, Expr b);
Expr power_of(Expr a, Expr b);
Expr negation_of(Expr a);
Expr function_of(std::uint32_t id, Expr a);  // a function of one argument: cmd::sin...

// Whether e is linear in x: x, sums of linear terms, a linear term times or divided by
// something free of x, or anything free of x.
bool linear_in(const Expr& e, const Symbol* x);

// The Taylor polynomial of f in x of the given order about x=0, as built (TAYLR then
// settles it).
Expr taylor_polynomial(Machine& m, Expr f, const Symbol* x, std::int64_t order);

// Evaluates `result` (names with values put in), simplifies what is left of it and
// pushes it, or what `use` makes of it: the end of \.d, TAYLR and QUAD.
using SettledUse = std::function<Object(Machine&, const Object&)>;
void settle(Machine& m, Object result, SettledUse use = {});

// COLCT: like terms and factors collected, constants first (see collect.cpp).
Expr collect(Machine& m, const Expr& tree);

}  // namespace rplrun
