// Algebraics as trees, for the commands that rewrite them (COLCT, ISOL, derivatives...):
// an algebraic's postfix items become a tree of nodes, each a number, a name or a whole
// object kept as one item, or a command or user function applied to its operands; the
// tree becomes postfix items again, and so an object.
//
// Trees are values: every function here builds a new tree. A tree is at most
// max_tree_depth deep; a deeper algebraic is Insufficient Memory when it is taken apart,
// so that the recursive walks below stay within the C++ stack.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "objects/command_ids.h"
#include "objects/object.h"

namespace rplrun {

inline constexpr std::size_t max_tree_depth = 2000;

struct Expr {
  // A number, a name (unquoted), a whole object, or the command or call applied to args.
  Object head;
  std::vector<Expr> args;  // the operands in the order they are written

  bool is_number() const { return args.empty() && head.is_number(); }
  bool is_real() const { return args.empty() && head.is(Kind::real); }
  bool is_name() const { return args.empty() && head.is(Kind::name); }
  // The command `id` applied (with its operands, or alone for \pi, e, i...).
  bool is(std::uint32_t id) const { return head.is(Kind::command) && head.command_id() == id; }
};

// ---- Between postfix items and trees
Expr tree_of(std::span<const Object> postfix);
// A number or name itself, an algebraic's items.
Expr tree_of(const Object& object);
void append_postfix(std::vector<Object>& out, const Expr& tree);
std::vector<Object> postfix_of(const Expr& tree);
// A lone number is itself, a lone name the quoted name, anything else an algebraic.
Object object_of(const Expr& tree);

// ---- Building
Expr number_expr(Real value);
Expr number_expr(const Object& number);
Expr name_expr(const Symbol* symbol);
Expr apply_expr(std::uint32_t id, std::vector<Expr> args);

// ---- Looking at trees
// The same tree: heads SAME and operands the same, in order.
bool same_tree(const Expr& a, const Expr& b);
// Whether the name `symbol` appears in the tree (as a name or as the function called).
bool mentions(const Expr& tree, const Symbol* symbol);
// A real number's value, when the tree is one.
bool is_real_value(const Expr& tree, int value);

// ---- Rewriting
// Every occurrence of the name `symbol` replaced by `value`.
Expr substitute(const Expr& tree, const Symbol* symbol, const Expr& value);

// The calculator's automatic simplification of a node whose operands are simplified
// already, applied as results are built: numbers combined where the result is exact
// (2+3 is 5, 6/4 is 1.5, 2^10 is 1024, \v/4 is 2, \v/-4 is (0,2); 1/3 and \v/2 stay),
// and the neutral elements dropped: X+0, 0+X, X-0, X*1, 1*X, X/1 and X^1 are X, 0-X is
// -X, X*0, 0*X and 0/X are 0, X^0 is 1, -(-X) is X, X+-Y is X-Y and X-(-Y) is X+Y.
Expr simplified(Expr node);
// The same applied to every node, innermost first.
Expr simplify(const Expr& tree);

}  // namespace rplrun
