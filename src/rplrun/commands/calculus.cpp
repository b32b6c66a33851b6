// Integrals and sums: \.S (symbolic for the forms it knows, numeric to the display's
// accuracy otherwise, its error estimate in IERR) and \GS.
//
// Both evaluate their function as a continuation on the machine's own loop, the
// variable bound as SEQ binds its index: global names in the function see it.
#include <optional>

#include "commands/rewriting.h"
#include "commands/support.h"
#include "numbers/wide.h"
#include "objects/algebraic.h"
#include "objects/symbolic.h"

namespace rplrun {

namespace {

// A bound: a number, or a name or algebraic that keeps the integral or sum symbolic.
const Object& bound_arg(const Object& x) {
  if (!x.is(Kind::real) && !x.is_symbolic()) fail(bad_argument_type);
  return x;
}

// The function of an integral or sum as the algebraic writes it.
const Object& function_arg(const Object& x) {
  if (!x.is_number() && !x.is_symbolic()) fail(bad_argument_type);
  return x;
}

Object command_item(std::uint32_t id) { return Object::command(id); }

// The value the function left on the stack for one point: a real.
Real take_real(Machine& m) {
  const Object x = m.stack().back();
  m.stack().pop_back();
  if (!x.is(Kind::real)) fail(bad_argument_type);
  return x.as_real();
}

// ---- \.S numerically: Romberg's method on the midpoint rule, each level tripling the
// points so that every value is used again and no end point is ever evaluated.
//
// The display mode sets the accuracy: n digits in FIX, SCI or ENG n, 12 in STD. The
// integrand is taken as exact to that many digits, so the integral is known to within
// 10^-n times the integral of |f|: that is the error estimate left in IERR, and the
// levels go on until two successive estimates agree within it.
class Integration : public Continuation {
 public:
  Integration(Object function, const Symbol* variable, Real low, Real high, int digits)
      : function_(std::move(function)),
        variable_(variable),
        low_(low),
        width_(Wide(high) - Wide(low)),
        accuracy_(Wide::from_int(10).power(Wide::from_int(-digits))) {}

  bool resume(Machine& m) override {
    if (evaluating_) {
      const Real f = take_real(m);
      sum_ = sum_ + Wide(f);
      absolute_sum_ = absolute_sum_ + Wide(abs(f));
      evaluating_ = false;
    }
    if (intervals_ == 0) {
      start_level();
    } else if (next_ == points_) {
      if (level_done(m)) return true;
      start_level();
    }
    evaluate_next(m);
    return false;
  }

 private:
  static constexpr int max_levels = 10;

  // The next level: three times the intervals, two new midpoints in each old one.
  void start_level() {
    intervals_ = intervals_ == 0 ? 1 : intervals_ * 3;
    points_ = intervals_ == 1 ? 1 : intervals_ / 3 * 2;
    next_ = 0;
  }

  // Where the k-th new midpoint of this level lies, as a fraction of the width.
  Wide point(int k) const {
    const Wide n = Wide::from_int(intervals_);
    if (intervals_ == 1) return Wide::from_int(1) / Wide::from_int(2);
    // In old interval j the new midpoints are the first and last of its three.
    const int j = k / 2;
    const int third = k % 2 == 0 ? 0 : 2;
    return (Wide::from_int(3 * j + third) + Wide::from_int(1) / Wide::from_int(2)) / n;
  }

  void evaluate_next(Machine& m) {
    const Real x = m.flags.settle((Wide(low_) + width_ * point(next_)).rounded());
    ++next_;
    if (bound_) {
      *m.local(variable_) = Object::real(x);
    } else {
      m.bind_index(variable_, Object::real(x));
      bound_ = true;
    }
    evaluating_ = true;
    m.evaluate_numerically(function_);
  }

  // The level's estimate joins the table; true (and the result pushed) when it is
  // accurate enough or no level is left.
  bool level_done(Machine& m) {
    const Wide h = width_ / Wide::from_int(intervals_);
    std::vector<Wide> row{h * sum_};
    if (!table_.empty()) {
      // The midpoint sums of the levels before count again, at a third of their weight.
      row[0] = table_.back()[0] / Wide::from_int(3) + h * sum_;
      Wide factor = Wide::from_int(1);
      for (std::size_t j = 0; j < table_.back().size(); ++j) {
        factor = factor * Wide::from_int(9);
        row.push_back(row[j] + (row[j] - table_.back()[j]) / (factor - Wide::from_int(1)));
      }
    }
    sum_ = Wide();
    const Wide absolute = h * absolute_sum_ + absolute_before_ / Wide::from_int(3);
    absolute_before_ = absolute;
    absolute_sum_ = Wide();
    table_.push_back(std::move(row));
    if (table_.size() < 3 && static_cast<int>(table_.size()) < max_levels) return false;
    const Real error =
        abs((table_.back().back() - table_[table_.size() - 2].back()).rounded().value);
    const Real allowed = abs((accuracy_ * absolute).rounded().value);
    if (error > allowed && static_cast<int>(table_.size()) < max_levels) return false;
    m.store_global(intern("IERR"), Object::real(error > allowed ? error : allowed));
    m.push(Object::real(m.flags.settle(table_.back().back().rounded())));
    return true;
  }

  Object function_;
  const Symbol* variable_;
  Real low_;
  Wide width_;
  Wide accuracy_;
  int intervals_ = 0;
  int points_ = 0;
  int next_ = 0;
  bool bound_ = false;
  bool evaluating_ = false;
  Wide sum_;
  Wide absolute_sum_;
  Wide absolute_before_;
  std::vector<std::vector<Wide>> table_;  // Romberg's table, a row per level
};

int accuracy_digits(const Machine& m) {
  const DisplayMode mode = m.flags.display_mode();
  return mode.format == NumberFormat::standard ? 12 : mode.digits;
}

// ---- \.S symbolically: the forms the calculator integrates, written as it writes them.
// A sum, difference or negation is integrated term by term, a constant factor or divisor
// stays outside, a constant c integrates to c*X. A function of a linear argument u
// integrates by its row of the table below, divided by \.dX(u), as u^n does:
// u^(n+1)/((n+1)*\.dX(u)). \.dX(u) is a number once the result is evaluated.

using Items = std::vector<Object>;

bool mentions(std::span<const Object> items, const Symbol* x) {
  for (const Object& item : items) {
    if ((item.is(Kind::name) || item.is(Kind::call)) && item.symbol() == x) return true;
    if (item.is(Kind::algebraic) && mentions(item.items(), x)) return true;
  }
  return false;
}

void append(Items& out, const Items& items) { out.insert(out.end(), items.begin(), items.end()); }

Items real_items(int value) { return {Object::real(Real::from_int64(value))}; }

// a b op, as postfix items.
Items operation(Items a, const Items& b, std::uint32_t op) {
  append(a, b);
  a.push_back(command_item(op));
  return a;
}
Items operation(Items a, std::uint32_t op) {
  a.push_back(command_item(op));
  return a;
}

// The slope of a linear u in x, computed (it is free of x).
Expr slope(const Expr& u, const Symbol* x) {
  if (!mentions(u, x)) return number_expr(Real());
  if (u.is_name()) return number_expr(Real::from_int64(1));
  if (u.is(cmd::plus)) return sum_of(slope(u.args[0], x), slope(u.args[1], x));
  if (u.is(cmd::minus)) return difference_of(slope(u.args[0], x), slope(u.args[1], x));
  if (u.is(cmd::negate)) return negation_of(slope(u.args[0], x));
  if (u.is(cmd::divide)) return quotient_of(slope(u.args[0], x), u.args[1]);
  // A product: one side is free of x.
  if (!mentions(u.args[0], x)) return product_of(u.args[0], slope(u.args[1], x));
  return product_of(slope(u.args[0], x), u.args[1]);
}

// A function's antiderivative F(u), before it is divided by \.dX(u).
struct Antiderivative {
  std::uint32_t function;
  bool angular;  // holds only in radians (the inverse functions' too: their values are angles)
  Items (*of)(const Items& u);
};

Items ln_of(const Items& u) { return operation(u, cmd::ln); }
Items one_less_square(const Items& u) {
  return operation(real_items(1), operation(u, real_items(2), cmd::power), cmd::minus);
}

constexpr Antiderivative antiderivatives[] = {
    {cmd::sin, true, [](const Items& u) { return operation(operation(u, cmd::cos), cmd::negate); }},
    {cmd::cos, true, [](const Items& u) { return operation(u, cmd::sin); }},
    {cmd::tan, true,
     [](const Items& u) {
       return operation(operation(operation(u, cmd::cos), cmd::ln), cmd::negate);
     }},
    {cmd::sinh, false, [](const Items& u) { return operation(u, cmd::cosh); }},
    {cmd::cosh, false, [](const Items& u) { return operation(u, cmd::sinh); }},
    {cmd::tanh, false, [](const Items& u) { return operation(operation(u, cmd::cosh), cmd::ln); }},
    {cmd::exp, false, [](const Items& u) { return operation(u, cmd::exp); }},
    {cmd::expm, false,
     [](const Items& u) { return operation(operation(u, cmd::exp), u, cmd::minus); }},
    {cmd::alog, false,
     [](const Items& u) {
       return operation(operation(u, cmd::alog), ln_of(real_items(10)), cmd::divide);
     }},
    // u*LN(u)-u, and that over LN(10) for LOG.
    {cmd::ln, false,
     [](const Items& u) { return operation(operation(u, ln_of(u), cmd::times), u, cmd::minus); }},
    {cmd::log, false,
     [](const Items& u) {
       return operation(operation(operation(u, ln_of(u), cmd::times), u, cmd::minus),
                        ln_of(real_items(10)), cmd::divide);
     }},
    {cmd::invert, false, ln_of},
    {cmd::sign, false, [](const Items& u) { return operation(u, cmd::abs); }},
    // u*ASIN(u)+\v/(1-u^2), u*ACOS(u)-\v/(1-u^2), u*ATAN(u)-LN(1+u^2)/2.
    {cmd::asin, true,
     [](const Items& u) {
       return operation(operation(u, operation(u, cmd::asin), cmd::times),
                        operation(one_less_square(u), cmd::square_root), cmd::plus);
     }},
    {cmd::acos, true,
     [](const Items& u) {
       return operation(operation(u, operation(u, cmd::acos), cmd::times),
                        operation(one_less_square(u), cmd::square_root), cmd::minus);
     }},
    {cmd::atan, true,
     [](const Items& u) {
       const Items one_plus_square =
           operation(real_items(1), operation(u, real_items(2), cmd::power), cmd::plus);
       return operation(operation(u, operation(u, cmd::atan), cmd::times),
                        operation(ln_of(one_plus_square), real_items(2), cmd::divide), cmd::minus);
     }},
};

// ---- The patterns beyond a function of u: mostly reciprocals 1/D (or INV(D)), D in a
// shape that makes 1/D the derivative of a built-in function of u.

std::optional<Expr> argument_of(const Expr& e, std::uint32_t function) {
  if (e.is(function) && e.args.size() == 1) return e.args[0];
  return std::nullopt;
}

// u, for u^2 or SQ(u).
std::optional<Expr> squared(const Expr& e) {
  if (e.is(cmd::power) && is_real_value(e.args[1], 2)) return e.args[0];
  return argument_of(e, cmd::sq);
}

// u, for f(u)^2 or SQ(f(u)).
std::optional<Expr> function_squared(const Expr& e, std::uint32_t function) {
  const auto f = squared(e);
  return f ? argument_of(*f, function) : std::nullopt;
}

// u, for 1+u^2 or u^2+1.
std::optional<Expr> one_plus_squared(const Expr& e) {
  if (!e.is(cmd::plus)) return std::nullopt;
  if (is_real_value(e.args[0], 1)) return squared(e.args[1]);
  if (is_real_value(e.args[1], 1)) return squared(e.args[0]);
  return std::nullopt;
}

// u, for 1-u^2 (sign 1) or u^2-1 (sign -1).
std::optional<Expr> difference_with_one(const Expr& e, int sign) {
  if (!e.is(cmd::minus)) return std::nullopt;
  if (sign > 0) return is_real_value(e.args[0], 1) ? squared(e.args[1]) : std::nullopt;
  return is_real_value(e.args[1], 1) ? squared(e.args[0]) : std::nullopt;
}

// u, for the product of f(u) and g(u) in either order.
std::optional<Expr> product_of_functions(const Expr& e, std::uint32_t f, std::uint32_t g) {
  if (!e.is(cmd::times)) return std::nullopt;
  for (const auto& [a, b] : {std::pair{f, g}, std::pair{g, f}}) {
    const auto u = argument_of(e.args[0], a);
    const auto v = argument_of(e.args[1], b);
    if (u && v && same_tree(*u, *v)) return u;
  }
  return std::nullopt;
}

std::optional<Expr> root_of_one_less_squared(const Expr& d) {
  const auto r = argument_of(d, cmd::square_root);
  return r ? difference_with_one(*r, 1) : std::nullopt;
}

Items function_items(const Items& u, std::uint32_t function) { return operation(u, function); }
Items negated_inverse(const Items& u, std::uint32_t function) {
  return operation(operation(operation(u, function), cmd::invert), cmd::negate);
}

// An integrand in the row's shape, u found in it (in the denominator D for a reciprocal
// row), and F(u) before it is divided by \.dX(u).
struct Pattern {
  bool reciprocal;
  bool angular;
  std::optional<Expr> (*argument)(const Expr& e);
  Items (*of)(const Items& u);
};

constexpr Pattern patterns[] = {
    // 1/(1+u^2), 1/(u^2+1): ATAN(u); 1/\v/(1-u^2): ASIN(u).
    {true, true, one_plus_squared, [](const Items& u) { return function_items(u, cmd::atan); }},
    {true, true, root_of_one_less_squared,
     [](const Items& u) { return function_items(u, cmd::asin); }},
    // 1/(1-u^2): ATANH(u); 1/\v/(1+u^2), 1/\v/(u^2+1): ASINH(u); 1/\v/(u^2-1): ACOSH(u).
    {true, false, [](const Expr& d) { return difference_with_one(d, 1); },
     [](const Items& u) { return function_items(u, cmd::atanh); }},
    {true, false,
     [](const Expr& d) {
       const auto r = argument_of(d, cmd::square_root);
       return r ? one_plus_squared(*r) : std::nullopt;
     },
     [](const Items& u) { return function_items(u, cmd::asinh); }},
    {true, false,
     [](const Expr& d) {
       const auto r = argument_of(d, cmd::square_root);
       return r ? difference_with_one(*r, -1) : std::nullopt;
     },
     [](const Items& u) { return function_items(u, cmd::acosh); }},
    // 1/COS(u)^2: TAN(u); 1/SIN(u)^2: -INV(TAN(u)); the same for COSH and SINH.
    {true, true, [](const Expr& d) { return function_squared(d, cmd::cos); },
     [](const Items& u) { return function_items(u, cmd::tan); }},
    {true, true, [](const Expr& d) { return function_squared(d, cmd::sin); },
     [](const Items& u) { return negated_inverse(u, cmd::tan); }},
    {true, false, [](const Expr& d) { return function_squared(d, cmd::cosh); },
     [](const Items& u) { return function_items(u, cmd::tanh); }},
    {true, false, [](const Expr& d) { return function_squared(d, cmd::sinh); },
     [](const Items& u) { return negated_inverse(u, cmd::tanh); }},
    // 1/TAN(u): LN(SIN(u)); 1/TANH(u): LN(SINH(u)).
    {true, true, [](const Expr& d) { return argument_of(d, cmd::tan); },
     [](const Items& u) { return ln_of(function_items(u, cmd::sin)); }},
    {true, false, [](const Expr& d) { return argument_of(d, cmd::tanh); },
     [](const Items& u) { return ln_of(function_items(u, cmd::sinh)); }},
    // 1/(SIN(u)*COS(u)): LN(TAN(u)); 1/(SIN(u)*TAN(u)): -INV(SIN(u));
    // 1/(SINH(u)*TANH(u)): -INV(SINH(u)); each product in either order.
    {true, true, [](const Expr& d) { return product_of_functions(d, cmd::sin, cmd::cos); },
     [](const Items& u) { return ln_of(function_items(u, cmd::tan)); }},
    {true, true, [](const Expr& d) { return product_of_functions(d, cmd::sin, cmd::tan); },
     [](const Items& u) { return negated_inverse(u, cmd::sin); }},
    {true, false, [](const Expr& d) { return product_of_functions(d, cmd::sinh, cmd::tanh); },
     [](const Items& u) { return negated_inverse(u, cmd::sinh); }},
    // 1/(2*\v/u): \v/u.
    {true, false,
     [](const Expr& d) {
       if (!d.is(cmd::times) || !is_real_value(d.args[0], 2)) return std::optional<Expr>();
       return argument_of(d.args[1], cmd::square_root);
     },
     [](const Items& u) { return function_items(u, cmd::square_root); }},
    // TAN(u)^2: TAN(u)-u.
    {false, true, [](const Expr& f) { return function_squared(f, cmd::tan); },
     [](const Items& u) { return operation(function_items(u, cmd::tan), u, cmd::minus); }},
};

// D, for 1/D or INV(D).
std::optional<Expr> denominator_of(const Expr& f) {
  if (f.is(cmd::divide) && is_real_value(f.args[0], 1)) return f.args[1];
  return argument_of(f, cmd::invert);
}

// u and n, for u^n, SQ(u) (n = 2) or \v/u (n = .5).
std::optional<std::pair<Expr, Expr>> power_parts(const Expr& e) {
  if (e.is(cmd::power)) return std::pair{e.args[0], e.args[1]};
  if (const auto u = argument_of(e, cmd::sq))
    return std::pair{*u, number_expr(Real::from_int64(2))};
  if (const auto u = argument_of(e, cmd::square_root))
    return std::pair{*u, number_expr(Real::from_decimal(false, 5, -1).value)};
  return std::nullopt;
}

class Integrator {
 public:
  Integrator(const Machine& m, const Object& x)
      : x_(x), var_(x.symbol()), radians_(m.flags.angle_mode() == AngleMode::radians) {}

  // The antiderivative of f, or none for a form not in the table.
  std::optional<Items> antiderivative(const Items& f) const {
    if (!mentions(f, var_)) return operation(f, {x_.unquoted()}, cmd::times);  // c*X
    if (is_variable(f)) return power_rule({x_.unquoted()}, real_items(1));
    if (auto by_pattern = of_pattern(tree_of(f))) return by_pattern;
    const Object& last = f.back();
    if (!last.is(Kind::command)) return std::nullopt;
    const std::uint32_t op = last.command_id();
    const auto parts = last_operands(f);
    switch (op) {
      case cmd::plus:
      case cmd::minus: {
        auto a = antiderivative(parts[0]);
        auto b = antiderivative(parts[1]);
        if (!a || !b) return std::nullopt;
        return operation(std::move(*a), *b, op);
      }
      case cmd::negate: {
        auto a = antiderivative(parts[0]);
        if (a) a->push_back(last);
        return a;
      }
      case cmd::times: return product(parts[0], parts[1], op);
      case cmd::divide:
        if (!mentions(parts[0], var_) && linear(parts[1])) return over(parts[0], parts[1]);
        // c/D as c*(1/D) when 1/D is in a pattern.
        if (!mentions(parts[0], var_) && !is_real_value(tree_of(parts[0]), 1)) {
          auto reciprocal = antiderivative(operation(real_items(1), parts[1], cmd::divide));
          if (!reciprocal) return std::nullopt;
          return operation(parts[0], *reciprocal, cmd::times);
        }
        return product(parts[0], parts[1], op);
      case cmd::power:
        if (!linear(parts[0]) || mentions(parts[1], var_)) return std::nullopt;
        // u^-1 is 1/u.
        if (is_real_value(simplify(tree_of(parts[1])), -1)) return over(real_items(1), parts[0]);
        return power_rule(parts[0], parts[1]);
      case cmd::square_root: {
        if (!linear(parts[0])) return std::nullopt;
        return power_rule(parts[0], {Object::real(Real::from_decimal(false, 5, -1).value)});
      }
      case cmd::sq:
        if (!linear(parts[0])) return std::nullopt;
        return power_rule(parts[0], real_items(2));
      default:
        if (parts.size() != 1 || !linear(parts[0])) return std::nullopt;
        return of_function(op, parts[0]);
    }
  }

 private:
  bool is_variable(const Items& items) const {
    return items.size() == 1 && items[0].is(Kind::name) && items[0].symbol() == var_;
  }

  bool linear(const Items& u) const { return mentions(u, var_) && linear_in(tree_of(u), var_); }

  // A form of the patterns' table, or 1/u^n as u^-n; none for another.
  std::optional<Items> of_pattern(const Expr& f) const {
    const auto denominator = denominator_of(f);
    if (denominator && !linear_tree(*denominator)) {
      const auto power = power_parts(*denominator);
      if (power && linear_tree(power->first) && !rplrun::mentions(power->second, var_))
        return antiderivative(postfix_of(
            apply_expr(cmd::power, {power->first, simplify(negation_of(power->second))})));
    }
    for (const Pattern& row : patterns) {
      if (row.angular && !radians_) continue;
      if (row.reciprocal && !denominator) continue;
      const auto u = row.argument(row.reciprocal ? *denominator : f);
      if (u && linear_tree(*u)) {
        const Items u_items = postfix_of(*u);
        return over_slope(row.of(u_items), {}, u_items);
      }
    }
    return std::nullopt;
  }

  bool linear_tree(const Expr& u) const { return rplrun::mentions(u, var_) && linear_in(u, var_); }

  // a*b or a/b with one side free of X: that side stays outside.
  std::optional<Items> product(const Items& a, const Items& b, std::uint32_t op) const {
    const bool constant_left = op == cmd::times && !mentions(a, var_);
    const Items& inner = constant_left ? b : a;
    const Items& constant = constant_left ? a : b;
    if (mentions(constant, var_)) return std::nullopt;
    auto integrated = antiderivative(inner);
    if (!integrated) return std::nullopt;
    return constant_left ? operation(constant, *integrated, op)
                         : operation(std::move(*integrated), constant, op);
  }

  // c/u: c*LN(u)/\.dX(u), LN(u)/\.dX(u) for c = 1.
  std::optional<Items> over(const Items& c, const Items& u) const {
    const bool one = c.size() == 1 && c[0].is(Kind::real) && c[0].as_real() == Real::from_int64(1);
    return over_slope(one ? ln_of(u) : operation(c, ln_of(u), cmd::times), {}, u);
  }

  // u^(n+1)/((n+1)*\.dX(u)).
  std::optional<Items> power_rule(const Items& u, const Items& n) const {
    Items raised = operation(n, real_items(1), cmd::plus);
    return over_slope(operation(u, raised, cmd::power), raised, u);
  }

  // F/(c*\.dX(u)), or F/\.dX(u) without c. The calculator writes \.dX(X) for X itself;
  // for another u the slope is computed here, as | would put values in for X inside
  // \.dX(u). None when u's slope is 0.
  std::optional<Items> over_slope(Items f, Items c, const Items& u) const {
    Items divisor;
    if (is_variable(u)) {
      divisor = {x_.quoted(), x_.quoted(), command_item(cmd::derivative)};
    } else {
      const Expr d = slope(tree_of(u), var_);
      if (is_real_value(d, 0)) return std::nullopt;
      if (!is_real_value(d, 1)) divisor = postfix_of(d);
    }
    if (c.empty())
      c = std::move(divisor);
    else if (!divisor.empty())
      c = operation(std::move(c), divisor, cmd::times);
    return c.empty() ? f : operation(std::move(f), c, cmd::divide);
  }

  // F(u)/\.dX(u) by the table; none for a function not in it.
  std::optional<Items> of_function(std::uint32_t function, const Items& u) const {
    for (const Antiderivative& row : antiderivatives)
      if (row.function == function && (radians_ || !row.angular))
        return over_slope(row.of(u), {}, u);
    return std::nullopt;
  }

  const Object& x_;
  const Symbol* var_;
  bool radians_;
};

// F|(X=b)-(F|(X=a)).
Object evaluated_between(const Items& antiderivative, const Object& x, const Object& low,
                         const Object& high) {
  Items out;
  for (const Object* bound : {&high, &low}) {
    out.push_back(Object::algebraic(antiderivative));
    out.push_back(Object::list({x.unquoted(), *bound}));
    out.push_back(command_item(cmd::where));
  }
  out.push_back(command_item(cmd::minus));
  return Object::algebraic(std::move(out));
}

// lo hi f X \.S
void integral(Machine& m, const Args& a) {
  const Object& x = name_arg(a[1]);
  const Object& f = function_arg(a[2]);
  const Object& high = bound_arg(a[3]);
  const Object& low = bound_arg(a[4]);
  if (m.numeric() && low.is(Kind::real) && high.is(Kind::real)) {
    m.start_continuation(std::make_unique<Integration>(f, x.symbol(), low.as_real(), high.as_real(),
                                                       accuracy_digits(m)));
    return;
  }
  Items items;
  append_operand(items, f);
  if (const auto antiderivative_items = Integrator(m, x).antiderivative(items)) {
    m.push(evaluated_between(*antiderivative_items, x, low, high));
    return;
  }
  Items out;
  append_operand(out, low);
  append_operand(out, high);
  out.push_back(kept_item(f));
  out.push_back(x.quoted());
  out.push_back(command_item(cmd::integral));
  m.push(Object::algebraic(std::move(out)));
}

// ---- \GS: the function evaluated for each integer from lo to hi, the values added.

class Summation : public Continuation {
 public:
  Summation(Object function, const Symbol* index, Real low, Real high)
      : function_(std::move(function)), index_(index), value_(low), high_(high) {}

  bool resume(Machine& m) override {
    if (evaluating_) {
      Object term = m.stack().back();
      m.stack().pop_back();
      total_ = total_ ? apply_command(m, cmd::plus, *total_, term) : term;
      value_ = m.flags.settle(add(value_, Real::from_int64(1)));
    }
    if (value_ > high_) {
      m.push(total_ ? *total_ : Object::real(Real()));
      return true;
    }
    if (evaluating_) {
      *m.local(index_) = Object::real(value_);
    } else {
      m.bind_index(index_, Object::real(value_));
      evaluating_ = true;
    }
    m.evaluate(function_);
    return false;
  }

 private:
  Object function_;
  const Symbol* index_;
  Real value_;
  Real high_;
  bool evaluating_ = false;
  std::optional<Object> total_;
};

// I lo hi f \GS
void summation(Machine& m, const Args& a) {
  const Object& f = function_arg(a[1]);
  const Object& high = bound_arg(a[2]);
  const Object& low = bound_arg(a[3]);
  const Object& index = name_arg(a[4]);
  if (low.is(Kind::real) && high.is(Kind::real)) {
    m.start_continuation(
        std::make_unique<Summation>(f, index.symbol(), low.as_real(), high.as_real()));
    return;
  }
  Items out{index.quoted()};
  append_operand(out, low);
  append_operand(out, high);
  out.push_back(kept_item(f));
  out.push_back(command_item(cmd::summation));
  m.push(Object::algebraic(std::move(out)));
}

constexpr Algebra calculus_notation{.notation = Notation::function, .arity = 4};

constexpr CommandRow rows[] = {
    {"\\.S", 4, integral, calculus_notation},
    {"\\GS", 4, summation, calculus_notation},
};

}  // namespace

std::span<const CommandRow> calculus_commands() { return rows; }

}  // namespace rplrun
