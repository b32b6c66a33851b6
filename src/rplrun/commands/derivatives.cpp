// Derivatives and Taylor polynomials: \.d and TAYLR.
//
// From the stack \.d differentiates completely and evaluates the result; inside an
// algebraic being evaluated, \.dX(f) takes one step: the rule of f's outermost function,
// the derivatives of its arguments left as \.dX(u). User functions are differentiated
// through their definitions; a function without one, F(u), has the derivative
// derF(u,\.dX(u)). Trigonometric functions honour the angle mode: in degrees the
// derivative of SIN(X) is COS(X)*(\pi/180).
#include <algorithm>
#include <optional>

#include "commands/rewriting.h"
#include "commands/support.h"
#include "objects/expression.h"
#include "objects/symbolic.h"

namespace rplrun {

namespace {

Expr real_expr(int n) { return number_expr(Real::from_int64(n)); }

// Builders that simplify as they go, as the calculator's results are.
Expr op(std::uint32_t id, Expr a) { return simplified(apply_expr(id, {std::move(a)})); }
Expr op(std::uint32_t id, Expr a, Expr b) {
  return simplified(apply_expr(id, {std::move(a), std::move(b)}));
}
Expr fn(std::uint32_t id, Expr a) { return simplified(apply_expr(id, {std::move(a)})); }

class Differentiator {
 public:
  Differentiator(Machine& m, const Symbol* x, bool one_step)
      : machine_(m), x_(x), one_step_(one_step) {
    switch (m.flags.display_mode().angle_mode) {
      case AngleMode::degrees: angle_ = op(cmd::divide, pi(), real_expr(180)); break;
      case AngleMode::grads: angle_ = op(cmd::divide, pi(), real_expr(200)); break;
      case AngleMode::radians: break;
    }
  }

  Expr derivative(const Expr& f) {
    if (f.is(cmd::derivative)) {
      // A derivative without a rule stays one: taking it again would never end.
      Expr inner = derivative_of_kept(f);
      return inner.is(cmd::derivative) ? unknown(inner) : d(inner);
    }
    if (f.is_name()) return real_expr(f.head.symbol() == x_ ? 1 : 0);
    if (!mentions(f, x_)) return real_expr(0);
    if (f.head.is(Kind::call)) return of_call(f);
    if (!f.head.is(Kind::command)) return real_expr(0);
    const std::uint32_t id = f.head.command_id();
    const auto& a = f.args;
    switch (id) {
      case cmd::plus:
      case cmd::minus:
      case cmd::equation: return op(id, d(a[0]), d(a[1]));
      case cmd::negate: return op(id, d(a[0]));
      case cmd::times:
        return op(cmd::plus, op(cmd::times, d(a[0]), a[1]), op(cmd::times, a[0], d(a[1])));
      case cmd::divide:
        if (!mentions(a[1], x_)) return op(cmd::divide, d(a[0]), a[1]);
        return op(cmd::divide,
                  op(cmd::minus, op(cmd::times, d(a[0]), a[1]), op(cmd::times, a[0], d(a[1]))),
                  op(cmd::power, a[1], real_expr(2)));
      case cmd::power:
        if (!mentions(a[1], x_))
          return chain(
              op(cmd::times, a[1], op(cmd::power, a[0], op(cmd::minus, a[1], real_expr(1)))), a[0]);
        // u^v = EXP(v*LN(u)).
        return op(cmd::times, f,
                  op(cmd::plus, op(cmd::times, d(a[1]), fn(cmd::ln, a[0])),
                     op(cmd::divide, op(cmd::times, a[1], d(a[0])), a[0])));
      case cmd::ifte: return apply_expr(id, {a[0], d(a[1]), d(a[2])});
      default: break;
    }
    if (a.size() != 1) return unknown(f);
    if (auto outer = outer_derivative(f)) return chain(std::move(*outer), a[0]);
    return unknown(f);
  }

 private:
  // f'(u) for a function f of one argument; nothing for one without a rule here.
  std::optional<Expr> outer_derivative(const Expr& f) const {
    const Expr& u = f.args[0];
    const Expr one = real_expr(1);
    switch (f.head.command_id()) {
      case cmd::invert: return op(cmd::negate, op(cmd::divide, one, square(u)));
      case cmd::sq: return op(cmd::times, real_expr(2), u);
      case cmd::square_root: return op(cmd::divide, one, op(cmd::times, real_expr(2), f));
      case cmd::exp:
      case cmd::expm: return fn(cmd::exp, u);
      case cmd::ln: return op(cmd::divide, one, u);
      case cmd::lnp1: return op(cmd::divide, one, op(cmd::plus, one, u));
      case cmd::log: return op(cmd::divide, one, op(cmd::times, fn(cmd::ln, real_expr(10)), u));
      case cmd::alog: return op(cmd::times, f, fn(cmd::ln, real_expr(10)));
      case cmd::sin: return angled(fn(cmd::cos, u));
      case cmd::cos: return angled(op(cmd::negate, fn(cmd::sin, u)));
      case cmd::tan: return angled(op(cmd::divide, one, square(fn(cmd::cos, u))));
      case cmd::asin: return unangled(op(cmd::divide, one, root_of(1, -1, u)));
      case cmd::acos: return unangled(op(cmd::negate, op(cmd::divide, one, root_of(1, -1, u))));
      case cmd::atan: return unangled(op(cmd::divide, one, op(cmd::plus, one, square(u))));
      case cmd::sinh: return fn(cmd::cosh, u);
      case cmd::cosh: return fn(cmd::sinh, u);
      case cmd::tanh: return op(cmd::divide, one, square(fn(cmd::cosh, u)));
      case cmd::asinh: return op(cmd::divide, one, root_of(1, 1, u));
      case cmd::acosh: return op(cmd::divide, one, root_of(-1, 1, u));
      case cmd::atanh: return op(cmd::divide, one, op(cmd::minus, one, square(u)));
      case cmd::abs: return fn(cmd::sign, u);
      default: return std::nullopt;
    }
  }

  static Expr pi() { return apply_expr(cmd::pi, {}); }
  static Expr square(const Expr& u) { return op(cmd::power, u, real_expr(2)); }
  // \v/(c+s*u^2), with c and s of +1 or -1.
  static Expr root_of(int c, int s, const Expr& u) {
    Expr sq = square(u);
    Expr inside = c > 0 ? op(s > 0 ? cmd::plus : cmd::minus, real_expr(1), sq)
                        : op(cmd::minus, sq, real_expr(1));
    return op(cmd::square_root, inside);
  }

  // A trigonometric function's derivative in the angle mode, and an inverse one's.
  Expr angled(Expr e) const { return angle_ ? op(cmd::times, std::move(e), *angle_) : e; }
  Expr unangled(Expr e) const { return angle_ ? op(cmd::divide, std::move(e), *angle_) : e; }

  // f'(u) times the derivative of u.
  Expr chain(Expr outer, const Expr& u) { return op(cmd::times, std::move(outer), d(u)); }

  // The derivative of an argument: a whole one, or one step's \.dX(u).
  Expr d(const Expr& u) {
    if (!one_step_ || u.is_name() || !mentions(u, x_)) return derivative(u);
    return apply_expr(cmd::derivative, {Expr{kept_item(object_of(u)), {}}, variable()});
  }

  Expr variable() const { return Expr{Object::name(x_).quoted(), {}}; }

  // \.dY(g) inside f: its own derivative first, by its variable.
  Expr derivative_of_kept(const Expr& f) {
    const Object& var = f.args[1].head;
    Differentiator inner(machine_, var.symbol(), false);
    return inner.derivative(tree_of(f.args[0].head));
  }

  // A user function through its definition; another function F as derF(args, \.dX(args)).
  Expr of_call(const Expr& f) {
    const Object* value =
        f.head.is_local() ? nullptr : machine_.lookup(Object::name(f.head.symbol()));
    if (value && value->is(Kind::program)) {
      if (auto body = definition(*value, f)) return d(*body);
    }
    std::vector<Expr> args = f.args;
    for (const Expr& arg : f.args) args.push_back(d(arg));
    std::string name = "der";
    name += f.head.symbol()->text();
    return apply_call(intern(name), std::move(args));
  }

  static Expr apply_call(const Symbol* s, std::vector<Expr> args) {
    const auto argc = static_cast<std::uint32_t>(args.size());
    return Expr{Object::call(s, argc, false), std::move(args)};
  }

  // The body of \<< \-> a b 'expr' \>> with the arguments put in for a and b.
  static std::optional<Expr> definition(const Object& program, const Expr& f) {
    const auto& items = program.items();
    const std::size_t n = f.args.size();
    if (items.size() != n + 2 || !items.back().is(Kind::algebraic)) return std::nullopt;
    Expr body = tree_of(items.back().items());
    for (std::size_t k = 0; k < n; ++k) {
      const Object& parameter = items[k + 1];
      if (!parameter.is(Kind::name)) return std::nullopt;
      body = substitute_local(body, parameter.symbol(), f.args[k]);
    }
    return body;
  }

  // Locals of the definition put in for: the names there are local ones.
  static Expr substitute_local(const Expr& tree, const Symbol* s, const Expr& value) {
    if (tree.is_name() && tree.head.symbol() == s) return value;
    Expr out{tree.head, {}};
    for (const Expr& arg : tree.args) out.args.push_back(substitute_local(arg, s, value));
    return out;
  }

  // A function with no derivative here: \.dX(f) stays.
  Expr unknown(const Expr& f) {
    return apply_expr(cmd::derivative, {Expr{kept_item(object_of(f)), {}}, variable()});
  }

  Machine& machine_;
  const Symbol* x_;
  bool one_step_;
  std::optional<Expr> angle_;
};

// A sum whose term is a product led by a negative number written as a difference:
// X+-.5*X^2 is X-.5*X^2.
Expr with_differences(Expr tree) {
  for (Expr& arg : tree.args) arg = with_differences(std::move(arg));
  if (!tree.is(cmd::plus) || !tree.args[1].is(cmd::times)) return tree;
  Expr* leading = &tree.args[1];
  while (leading->is(cmd::times)) leading = &leading->args[0];
  Expr& factor = *leading;
  if (!factor.is_real() || !factor.head.as_real().is_negative()) return tree;
  factor = number_expr(negate(factor.head.as_real()));
  tree.head = Object::command(cmd::minus);
  return tree;
}

bool holds_derivative(const Expr& e) {
  return e.is(cmd::derivative) || std::any_of(e.args.begin(), e.args.end(), [](const Expr& arg) {
           return holds_derivative(arg);
         });
}

// Evaluates the result built, then simplifies it: names with values are put in (2 'X'
// STO makes 'X^3' 'X' \.d 12), what is left of numbers combined.
class Settling : public Continuation {
 public:
  Settling(Object result, SettledUse use) : result_(std::move(result)), use_(std::move(use)) {}
  bool resume(Machine& m) override {
    if (!evaluated_) {
      evaluated_ = true;
      m.evaluate(result_);
      return false;
    }
    Object x = m.stack().back();
    m.stack().pop_back();
    if (x.is_symbolic()) x = object_of(with_differences(simplify(tree_of(x))));
    m.push(use_ ? use_(m, x) : x);
    return true;
  }

 private:
  Object result_;
  SettledUse use_;
  bool evaluated_ = false;
};

const Object& function_arg(const Object& x) {
  if (!x.is_number() && !x.is_symbolic() && !x.is(Kind::unit)) fail(bad_argument_type);
  return x;
}

// f 'X' \.d
void derivative(Machine& m, const Args& a) {
  const Object& x = name_arg(a[1]);
  const Expr f = tree_of(function_arg(a[2]));
  if (m.in_algebraic()) {
    m.push(object_of(Differentiator(m, x.symbol(), true).derivative(f)));
    return;
  }
  const Object result = object_of(Differentiator(m, x.symbol(), false).derivative(f));
  settle(m, result);
}

// f 'X' n TAYLR: the Taylor polynomial of order n about X=0.
void taylor(Machine& m, const Args& a) {
  const std::int64_t order = integer_arg(a[1]);
  const Object& x = name_arg(a[2]);
  const Expr f = tree_of(function_arg(a[3]));
  if (order < 0) fail(bad_argument_value);
  settle(m, object_of(taylor_polynomial(m, f, x.symbol(), order)));
}

constexpr CommandRow rows[] = {
    {"\\.d", 2, derivative, {.notation = Notation::function, .arity = 2}},
    {"TAYLR", 3, taylor},
};

}  // namespace

void settle(Machine& m, Object result, SettledUse use) {
  m.start_continuation(std::make_unique<Settling>(std::move(result), std::move(use)));
}

Expr taylor_polynomial(Machine& m, Expr f, const Symbol* x, std::int64_t order) {
  Differentiator differentiator(m, x, false);
  const Expr var = name_expr(x);
  Expr sum = real_expr(0);
  Real factorial = Real::from_int64(1);
  for (std::int64_t k = 0; k <= order; ++k) {
    if (k > 0) {
      f = differentiator.derivative(f);
      factorial = m.flags.settle(multiply(factorial, Real::from_int64(k)));
      // A function without a derivative rule (IP, MOD...) has no value at 0 to give.
      if (holds_derivative(f)) fail(bad_argument_type);
    }
    // Each coefficient collected: 'A*X^2' gives A, not A*2/2.
    const Expr coefficient =
        collect(m, op(cmd::divide, substitute(f, x, real_expr(0)), number_expr(factorial)));
    const Expr power = op(cmd::power, var, number_expr(Real::from_int64(k)));
    sum = op(cmd::plus, sum, op(cmd::times, coefficient, power));
  }
  return sum;
}

std::span<const CommandRow> derivative_commands() { return rows; }

}  // namespace rplrun
