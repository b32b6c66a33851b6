#include "objects/expression.h"

#include <optional>

#include "numbers/complex.h"
#include "numbers/real_functions.h"
#include "objects/errors.h"
#include "objects/symbolic.h"

namespace rplrun {

namespace {

// The tree's depth is bounded while it is built, from the leaves up.
struct Built {
  Expr tree;
  std::size_t depth;
};

}  // namespace

Expr tree_of(std::span<const Object> postfix) {
  std::vector<Built> stack;
  for (const Object& item : postfix) {
    const std::size_t count = operand_count(item);
    // Well-formed postfix items always hold the operands they apply to.
    const std::size_t first = stack.size() - count;
    Built node{Expr{item, {}}, 1};
    node.tree.args.reserve(count);
    for (std::size_t k = first; k < stack.size(); ++k) {
      node.depth = std::max(node.depth, stack[k].depth + 1);
      node.tree.args.push_back(std::move(stack[k].tree));
    }
    if (node.depth > max_tree_depth) fail(insufficient_memory);
    stack.resize(first);
    stack.push_back(std::move(node));
  }
  return std::move(stack.back().tree);
}

Expr tree_of(const Object& object) {
  if (object.is(Kind::algebraic)) return tree_of(object.items());
  if (object.is(Kind::name)) return Expr{object.unquoted(), {}};
  return Expr{object, {}};
}

void append_postfix(std::vector<Object>& out, const Expr& tree) {
  for (const Expr& arg : tree.args) append_postfix(out, arg);
  out.push_back(tree.head);
}

std::vector<Object> postfix_of(const Expr& tree) {
  std::vector<Object> out;
  append_postfix(out, tree);
  return out;
}

Object object_of(const Expr& tree) { return object_of(postfix_of(tree)); }

Expr number_expr(Real value) { return Expr{Object::real(value), {}}; }
Expr number_expr(const Object& number) { return Expr{number, {}}; }
Expr name_expr(const Symbol* symbol) { return Expr{Object::name(symbol), {}}; }
Expr apply_expr(std::uint32_t id, std::vector<Expr> args) {
  return Expr{Object::command(id), std::move(args)};
}

bool same_tree(const Expr& a, const Expr& b) {
  if (a.args.size() != b.args.size() || !same(a.head, b.head)) return false;
  for (std::size_t k = 0; k < a.args.size(); ++k)
    if (!same_tree(a.args[k], b.args[k])) return false;
  return true;
}

bool mentions(const Expr& tree, const Symbol* symbol) {
  if ((tree.head.is(Kind::name) || tree.head.is(Kind::call)) && tree.head.symbol() == symbol)
    return true;
  for (const Expr& arg : tree.args)
    if (mentions(arg, symbol)) return true;
  return false;
}

bool is_real_value(const Expr& tree, int value) {
  return tree.is_real() && tree.head.as_real() == Real::from_int64(value);
}

Expr substitute(const Expr& tree, const Symbol* symbol, const Expr& value) {
  if (tree.is_name() && tree.head.symbol() == symbol) return value;
  Expr out{tree.head, {}};
  out.args.reserve(tree.args.size());
  for (const Expr& arg : tree.args) out.args.push_back(substitute(arg, symbol, value));
  return out;
}

namespace {

// A number as the object the calculator keeps: a real, or a complex.
std::optional<Object> number_object(const NumberResult& r) {
  if (r.condition != Condition::none) return std::nullopt;
  if (r.is_complex) return Object::complex(r.value);
  return Object::real(r.value.re);
}

bool both_real(const Object& a, const Object& b) { return a.is(Kind::real) && b.is(Kind::real); }

// At most six significant digits: its square has at most twelve and is exact.
bool short_root(Real root) { return root.decimal().coefficient < 1000000; }

std::optional<Object> exact_power(const Object& base, const Object& exponent) {
  if (!both_real(base, exponent)) return std::nullopt;
  const auto b = base.as_real().exact_int64();
  const auto n = exponent.as_real().exact_int64();
  if (!b || !n || *n < 0 || *n > 64) return std::nullopt;
  constexpr std::int64_t limit = 1000000000000;  // 10^12: twelve digits at most
  std::int64_t result = 1;
  for (std::int64_t k = 0; k < *n; ++k) {
    if (*b != 0 && (result > limit / (*b < 0 ? -*b : *b))) return std::nullopt;
    result *= *b;
  }
  if (result >= limit || result <= -limit) return std::nullopt;
  return Object::real(Real::from_int64(result));
}

std::optional<Object> exact_root(const Object& x) {
  if (!x.is(Kind::real)) return std::nullopt;
  const Real value = x.as_real();
  const Real magnitude = abs(value);
  const NumberResult root = square_root(magnitude);
  const Real r = root.real();
  if (!short_root(r) || multiply(r, r).value != magnitude) return std::nullopt;
  if (value.is_negative()) return Object::complex(Complex{Real(), r});
  return Object::real(r);
}

std::optional<Object> exact_quotient(const Object& a, const Object& b) {
  if (both_real(a, b)) {
    const RealResult q = divide(a.as_real(), b.as_real());
    if (q.condition != Condition::none || multiply(q.value, b.as_real()).value != a.as_real())
      return std::nullopt;
    return Object::real(q.value);
  }
  const ComplexResult q = divide(a.to_complex(), b.to_complex());
  if (q.condition != Condition::none || multiply(q.value, b.to_complex()).value != a.to_complex())
    return std::nullopt;
  return Object::complex(q.value);
}

std::optional<Object> combine(std::uint32_t id, const Object& a, const Object& b) {
  if (id == cmd::divide) return exact_quotient(a, b);
  if (id == cmd::power) return exact_power(a, b);
  if (both_real(a, b)) {
    switch (id) {
      case cmd::plus: return number_object(add(a.as_real(), b.as_real()));
      case cmd::minus: return number_object(subtract(a.as_real(), b.as_real()));
      default: return number_object(multiply(a.as_real(), b.as_real()));
    }
  }
  switch (id) {
    case cmd::plus: return number_object(add(a.to_complex(), b.to_complex()));
    case cmd::minus: return number_object(subtract(a.to_complex(), b.to_complex()));
    default: return number_object(multiply(a.to_complex(), b.to_complex()));
  }
}

Object negated(const Object& number) {
  if (number.is(Kind::real)) return Object::real(negate(number.as_real()));
  return Object::complex(negate(number.as_complex()));
}

bool is_zero(const Expr& e) { return is_real_value(e, 0); }
bool is_one(const Expr& e) { return is_real_value(e, 1); }
bool is_negative_real(const Expr& e) { return e.is_real() && e.head.as_real().is_negative(); }

Expr negation_of(Expr e) { return simplified(apply_expr(cmd::negate, {std::move(e)})); }

}  // namespace

Expr simplified(Expr node) {
  if (!node.head.is(Kind::command)) return node;
  const std::uint32_t id = node.head.command_id();
  if (id == cmd::negate) {
    Expr& x = node.args[0];
    if (x.is_number()) return number_expr(negated(x.head));
    if (x.is(cmd::negate)) return std::move(x.args[0]);
    return node;
  }
  if (id == cmd::square_root) {
    if (node.args[0].is_number())
      if (auto root = exact_root(node.args[0].head)) return number_expr(*root);
    return node;
  }
  if (id != cmd::plus && id != cmd::minus && id != cmd::times && id != cmd::divide &&
      id != cmd::power)
    return node;
  Expr& a = node.args[0];
  Expr& b = node.args[1];
  if (a.is_number() && b.is_number())
    if (auto value = combine(id, a.head, b.head)) return number_expr(*value);
  switch (id) {
    case cmd::plus:
      if (is_zero(a)) return std::move(b);
      if (is_zero(b)) return std::move(a);
      if (b.is(cmd::negate))
        return simplified(apply_expr(cmd::minus, {std::move(a), std::move(b.args[0])}));
      if (is_negative_real(b))
        return apply_expr(cmd::minus, {std::move(a), number_expr(negated(b.head))});
      return node;
    case cmd::minus:
      if (is_zero(b)) return std::move(a);
      if (is_zero(a)) return negation_of(std::move(b));
      if (b.is(cmd::negate))
        return simplified(apply_expr(cmd::plus, {std::move(a), std::move(b.args[0])}));
      return node;
    case cmd::times:
      if (is_zero(a) || is_zero(b)) return number_expr(Real());
      if (is_one(a)) return std::move(b);
      if (is_one(b)) return std::move(a);
      return node;
    case cmd::divide:
      if (is_one(b)) return std::move(a);
      if (is_zero(a) && !b.is_number()) return number_expr(Real());
      return node;
    default:  // ^
      if (is_one(b)) return std::move(a);
      if (is_zero(b)) return number_expr(Real::from_int64(1));
      return node;
  }
}

Expr simplify(const Expr& tree) {
  Expr out{tree.head, {}};
  out.args.reserve(tree.args.size());
  for (const Expr& arg : tree.args) out.args.push_back(simplify(arg));
  return simplified(std::move(out));
}

}  // namespace rplrun
