// ISOL and QUAD: an equation solved for a name.
//
// ISOL undoes, from the outside in, the functions applied to the first occurrence of the
// name (the left side is searched first); other occurrences stay on the right. QUAD
// reads a polynomial of degree two in the name (any other expression as its Taylor
// polynomial of order two about 0) and writes the quadratic formula. With
// flag -1 clear both give the general solution: s1, s2... stand for an arbitrary sign,
// n1, n2... for an arbitrary integer; with flag -1 set, the principal one.
#include "commands/rewriting.h"
#include "commands/support.h"
#include "objects/command_registry.h"

namespace rplrun {

namespace {

bool principal_only(const Machine& m) { return m.flags.test(-1); }

// The arbitrary signs and integers of one general solution, numbered from 1.
class Arbitrary {
 public:
  Expr sign() { return numbered('s', signs_); }
  Expr integer() { return numbered('n', integers_); }

 private:
  static Expr numbered(char letter, int& count) {
    return name_expr(intern(std::string(1, letter) + std::to_string(++count)));
  }
  int signs_ = 0;
  int integers_ = 0;
};

Expr real_expr(int value) { return number_expr(Real::from_int64(value)); }

// Half a turn in the angle mode: 180, \pi or 200.
Expr half_turn(const Machine& m) {
  switch (m.flags.angle_mode()) {
    case AngleMode::degrees: return real_expr(180);
    case AngleMode::grads: return real_expr(200);
    case AngleMode::radians: break;
  }
  return apply_expr(cmd::pi, {});
}

// 2*\pi*i*n: what the logarithm's inverse adds in the general solution.
Expr imaginary_turns(Arbitrary& arbitrary) {
  return product_of(
      product_of(product_of(real_expr(2), apply_expr(cmd::pi, {})), apply_expr(cmd::i, {})),
      arbitrary.integer());
}

class Isolator {
 public:
  Isolator(Machine& m, const Symbol* x) : m_(m), x_(x), general_(!principal_only(m)) {}

  // target = other, target holding x: x = the solution.
  Expr solve(Expr target, Expr other) {
    while (!target.is_name()) {
      std::size_t k = 0;
      while (k < target.args.size() && !mentions(target.args[k], x_)) ++k;
      other = undo(target, k, std::move(other));
      Expr inner = std::move(target.args[k]);
      target = std::move(inner);
    }
    return other;
  }

 private:
  const Expr& sibling(const Expr& node, std::size_t k) const { return node.args[1 - k]; }

  Expr with_sign(Expr e) { return general_ ? product_of(arbitrary_.sign(), std::move(e)) : e; }
  Expr plus_turns(Expr e, Expr turn) {
    return general_ ? sum_of(std::move(e), product_of(std::move(turn), arbitrary_.integer())) : e;
  }

  // The value of operand k of node, node being equal to s.
  Expr undo(const Expr& node, std::size_t k, Expr s) {
    if (!node.head.is(Kind::command)) fail(unable_to_isolate);
    const std::uint32_t id = node.head.command_id();
    switch (id) {
      case cmd::plus: return difference_of(std::move(s), sibling(node, k));
      case cmd::minus:
        return k == 0 ? sum_of(std::move(s), node.args[1])
                      : difference_of(node.args[0], std::move(s));
      case cmd::times: return quotient_of(std::move(s), sibling(node, k));
      case cmd::divide:
        return k == 0 ? product_of(std::move(s), node.args[1])
                      : quotient_of(node.args[0], std::move(s));
      case cmd::power:
        return k == 0 ? root(node.args[1], std::move(s)) : logarithm(node.args[0], std::move(s));
      case cmd::negate: return negation_of(std::move(s));
      case cmd::invert: return quotient_of(real_expr(1), std::move(s));
      case cmd::square_root: return power_of(std::move(s), real_expr(2));
      case cmd::exp: {
        Expr log = function_of(cmd::ln, std::move(s));
        return general_ ? sum_of(std::move(log), imaginary_turns(arbitrary_)) : log;
      }
      case cmd::ln: return function_of(cmd::exp, std::move(s));
      default: return undo_function(node, std::move(s));
    }
  }

  Expr undo_function(const Expr& node, Expr s) {
    const std::uint32_t id = node.head.command_id();
    struct Inverse {
      std::uint32_t function;
      std::uint32_t inverse;
    };
    static constexpr Inverse plain[] = {
        {cmd::asin, cmd::sin},   {cmd::acos, cmd::cos},   {cmd::atan, cmd::tan},
        {cmd::sinh, cmd::asinh}, {cmd::tanh, cmd::atanh}, {cmd::asinh, cmd::sinh},
        {cmd::acosh, cmd::cosh}, {cmd::atanh, cmd::tanh}, {cmd::log, cmd::alog},
        {cmd::alog, cmd::log},
    };
    for (const Inverse& f : plain)
      if (id == f.function) return function_of(f.inverse, std::move(s));
    switch (id) {
      case cmd::sq: return with_sign(simplified(apply_expr(cmd::square_root, {std::move(s)})));
      case cmd::abs: return with_sign(std::move(s));
      case cmd::cosh: return with_sign(function_of(cmd::acosh, std::move(s)));
      case cmd::sin: {
        Expr principal = function_of(cmd::asin, std::move(s));
        if (!general_) return principal;
        const Expr n = arbitrary_.integer();
        return sum_of(product_of(power_of(real_expr(-1), n), std::move(principal)),
                      product_of(half_turn(m_), n));
      }
      case cmd::cos:
        return plus_turns(with_sign(function_of(cmd::acos, std::move(s))),
                          product_of(real_expr(2), half_turn(m_)));
      case cmd::tan: return plus_turns(function_of(cmd::atan, std::move(s)), half_turn(m_));
      default: fail(unable_to_isolate);
    }
  }

  // base^e = s: base is s to the power 1/e; a sign for an even whole e.
  Expr root(const Expr& exponent, Expr s) {
    Expr principal = is_real_value(exponent, 2)
                         ? simplified(apply_expr(cmd::square_root, {std::move(s)}))
                         : power_of(std::move(s), quotient_of(real_expr(1), exponent));
    const auto n = exponent.is_real() ? exponent.head.as_real().exact_int64() : std::nullopt;
    return n && *n % 2 == 0 ? with_sign(std::move(principal)) : principal;
  }

  // b^e = s: e is LN(s)/LN(b).
  Expr logarithm(const Expr& base, Expr s) {
    Expr log = function_of(cmd::ln, std::move(s));
    if (general_) log = sum_of(std::move(log), imaginary_turns(arbitrary_));
    return quotient_of(std::move(log), function_of(cmd::ln, base));
  }

  Machine& m_;
  const Symbol* x_;
  bool general_;
  Arbitrary arbitrary_;
};

// The sides of an equation; an expression is one equal to 0.
std::pair<Expr, Expr> sides(Expr e) {
  if (e.is(cmd::equation)) return {std::move(e.args[0]), std::move(e.args[1])};
  return {std::move(e), real_expr(0)};
}

Expr solution(const Symbol* x, Expr value) {
  return apply_expr(cmd::equation, {name_expr(x), std::move(value)});
}

void isol(Machine& m, const Args& a) {
  const Symbol* x = variable_arg(a[1]);
  auto [left, right] = sides(expression_arg(a[2]));
  Isolator isolator(m, x);
  if (mentions(left, x))
    m.push(object_of(solution(x, isolator.solve(std::move(left), std::move(right)))));
  else if (mentions(right, x))
    m.push(object_of(solution(x, isolator.solve(std::move(right), std::move(left)))));
  else
    fail(unable_to_isolate);
}

// ---- QUAD

using Polynomial = std::vector<Expr>;  // coefficients, the constant first

Polynomial add(Polynomial p, const Polynomial& q, bool subtract) {
  if (p.size() < q.size()) p.resize(q.size(), real_expr(0));
  for (std::size_t k = 0; k < q.size(); ++k)
    p[k] = subtract ? difference_of(std::move(p[k]), q[k]) : sum_of(std::move(p[k]), q[k]);
  return p;
}

// Terms beyond the square are dropped as they are made: only three coefficients count.
Polynomial multiply(const Polynomial& p, const Polynomial& q) {
  Polynomial out(std::min<std::size_t>(p.size() + q.size() - 1, 3), real_expr(0));
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = 0; j < q.size() && i + j < out.size(); ++j)
      out[i + j] = sum_of(std::move(out[i + j]), product_of(p[i], q[j]));
  return out;
}

// Higher powers are left unread: QUAD reports them as not supported.
constexpr std::int64_t max_power = 1000;

// The polynomial in x that e is, up to the square; none when e is no polynomial in x.
std::optional<Polynomial> polynomial(const Expr& e, const Symbol* x) {
  if (!mentions(e, x)) return Polynomial{e};
  if (e.is_name()) return Polynomial{real_expr(0), real_expr(1)};
  if (e.is(cmd::plus) || e.is(cmd::minus)) {
    auto p = polynomial(e.args[0], x);
    auto q = polynomial(e.args[1], x);
    if (!p || !q) return std::nullopt;
    return add(std::move(*p), *q, e.is(cmd::minus));
  }
  if (e.is(cmd::negate)) {
    auto p = polynomial(e.args[0], x);
    if (p) return add(Polynomial{}, *p, true);
    return std::nullopt;
  }
  if (e.is(cmd::times)) {
    auto p = polynomial(e.args[0], x);
    auto q = polynomial(e.args[1], x);
    if (!p || !q) return std::nullopt;
    return multiply(*p, *q);
  }
  if (e.is(cmd::divide) && !mentions(e.args[1], x)) {
    auto p = polynomial(e.args[0], x);
    if (!p) return std::nullopt;
    for (Expr& c : *p) c = quotient_of(std::move(c), e.args[1]);
    return p;
  }
  if (e.is(cmd::power) && e.args[1].is_real()) {
    const auto n = e.args[1].head.as_real().exact_int64();
    auto p = polynomial(e.args[0], x);
    if (!n || *n < 0 || *n > max_power || !p) return std::nullopt;
    Polynomial out{real_expr(1)};
    for (std::int64_t k = 0; k < *n; ++k) out = multiply(out, *p);
    return out;
  }
  return std::nullopt;
}

bool is_zero(const Expr& e) { return e.is_number() && same(e.head, Object::real(Real())); }

Expr sign_times(const Machine& m, Expr root) {
  if (principal_only(m)) return root;
  return product_of(name_expr(intern("s1")), std::move(root));
}

// (-b+s1*\v/(b^2-4*a*c))/(2*a) with every number computed as \->NUM would.
Expr numeric_roots(Machine& m, const Object& a, const Object& b, const Object& c) {
  auto compute = [&](std::uint32_t id, const Object& x, const Object& y) {
    return apply_command(m, id, x, y);
  };
  const Object four_ac =
      compute(cmd::times, compute(cmd::times, Object::real(Real::from_int64(4)), a), c);
  const Object root =
      apply_command(m, cmd::square_root, compute(cmd::minus, compute(cmd::times, b, b), four_ac));
  const Object minus_b = apply_command(m, cmd::negate, b);
  const Object two_a = compute(cmd::times, Object::real(Real::from_int64(2)), a);
  if (principal_only(m))
    return number_expr(compute(cmd::divide, compute(cmd::plus, minus_b, root), two_a));
  return quotient_of(sum_of(number_expr(minus_b), sign_times(m, number_expr(root))),
                     number_expr(two_a));
}

Expr symbolic_roots(const Machine& m, const Expr& a, const Expr& b, const Expr& c) {
  Expr discriminant =
      difference_of(power_of(b, real_expr(2)), product_of(product_of(real_expr(4), a), c));
  Expr root = sign_times(m, simplified(apply_expr(cmd::square_root, {std::move(discriminant)})));
  return quotient_of(sum_of(negation_of(b), std::move(root)), product_of(real_expr(2), a));
}

// x = the root(s) of the polynomial p of degree two at most.
Object quadratic_solution(Machine& m, Polynomial p, const Symbol* x) {
  p.resize(3, real_expr(0));
  const Expr& c = p[0];
  const Expr& b = p[1];
  const Expr& a = p[2];
  if (is_zero(a)) {
    if (is_zero(b)) fail(unable_to_isolate);
    return object_of(solution(x, quotient_of(negation_of(c), b)));
  }
  Expr value = a.is_number() && b.is_number() && c.is_number()
                   ? numeric_roots(m, a.head, b.head, c.head)
                   : symbolic_roots(m, a, b, c);
  return object_of(solution(x, std::move(value)));
}

// An expression that is no polynomial in x is replaced by its Taylor polynomial of
// order two about 0, evaluated.
void quad(Machine& m, const Args& a) {
  const Symbol* x = variable_arg(a[1]);
  auto [left, right] = sides(expression_arg(a[2]));
  Expr e = difference_of(std::move(left), std::move(right));
  if (auto p = polynomial(e, x)) {
    m.push(quadratic_solution(m, std::move(*p), x));
    return;
  }
  settle(m, object_of(taylor_polynomial(m, std::move(e), x, 2)),
         [x](Machine& machine, const Object& taylor) {
           auto p = polynomial(tree_of(taylor), x);
           if (!p) machine.not_supported();
           return quadratic_solution(machine, std::move(*p), x);
         });
}

constexpr CommandRow rows[] = {
    {"ISOL", 2, isol},
    {"QUAD", 2, quad},
};

}  // namespace

std::span<const CommandRow> isolation_commands() { return rows; }

}  // namespace rplrun
