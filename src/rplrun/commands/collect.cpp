// COLCT and EXPAN: like terms collected, products and powers distributed.
//
// COLCT sees a sum as terms, each a numeric coefficient times factors (a base raised to
// a real exponent). Factors of the same base multiply into one, terms of the same
// factors add into one, numbers into one constant. The result has the constant first,
// then the terms by rising degree (the sum of their exponents), terms of one degree by
// their factors; a term's factors are ordered by their bases: numbers, then names
// alphabetically, then functions by name. A sum inside a product, or raised to a power,
// is collected by itself and stays one factor; the arguments of functions are
// collected too. An equation's sides are collected one by one.
#include <algorithm>
#include <optional>

#include "commands/rewriting.h"
#include "commands/support.h"
#include "objects/command_registry.h"

namespace rplrun {

namespace {

// ---- An order of trees, for the order of factors and terms

int rank(const Expr& e) {
  if (e.is_number()) return 0;
  if (e.is_name()) return 1;
  return 2;
}

// The name of a function applied, or of a name; nothing for an object kept whole.
std::string_view head_text(const Expr& e) {
  if (e.head.is(Kind::command)) return command_info(e.head.command_id()).name;
  if (e.head.is(Kind::call) || e.head.is(Kind::name)) return e.head.symbol()->text();
  return {};
}

int compare_numbers(const Object& a, const Object& b) {
  const Complex x = a.to_complex();
  const Complex y = b.to_complex();
  if (x.re != y.re) return x.re < y.re ? -1 : 1;
  if (x.im != y.im) return x.im < y.im ? -1 : 1;
  return 0;
}

int compare_trees(const Expr& a, const Expr& b) {
  if (rank(a) != rank(b)) return rank(a) < rank(b) ? -1 : 1;
  if (a.is_number()) return compare_numbers(a.head, b.head);
  if (const int c = head_text(a).compare(head_text(b)); c != 0) return c < 0 ? -1 : 1;
  if (a.args.size() != b.args.size()) return a.args.size() < b.args.size() ? -1 : 1;
  for (std::size_t k = 0; k < a.args.size(); ++k)
    if (const int c = compare_trees(a.args[k], b.args[k]); c != 0) return c;
  return 0;
}

// ---- Terms

struct Factor {
  Expr base;
  Real exponent;
};

// coefficient/divisor times the factors; the division is made once the terms are
// complete, so that 3*X/3 is X rather than 3*.333333333333*X.
struct Term {
  Object coefficient = Object::real(Real::from_int64(1));
  Object divisor = Object::real(Real::from_int64(1));
  std::vector<Factor> factors;
};

using Terms = std::vector<Term>;

Object numeric(Machine& m, std::uint32_t id, const Object& a, const Object& b) {
  return apply_command(m, id, a, b);
}

bool is_real_number(const Object& x, int value) {
  return x.is(Kind::real) && x.as_real() == Real::from_int64(value);
}

class Collector {
 public:
  explicit Collector(Machine& m) : m_(m) {}

  Expr collect(const Expr& e) {
    if (!is_arithmetic(e)) {
      Expr out{e.head, {}};
      for (const Expr& arg : e.args) out.args.push_back(collect(arg));
      return simplified(std::move(out));
    }
    return build(merge(terms(e)));
  }

 private:
  static bool is_arithmetic(const Expr& e) {
    if (e.is_number() || e.is_name()) return true;
    if (!e.head.is(Kind::command) || e.args.empty()) return false;
    switch (e.head.command_id()) {
      case cmd::plus:
      case cmd::minus:
      case cmd::times:
      case cmd::divide:
      case cmd::negate:
      case cmd::invert:
      case cmd::power: return true;
      default: return false;
    }
  }

  Object multiply(const Object& a, const Object& b) { return numeric(m_, cmd::times, a, b); }

  Terms terms(const Expr& e) {
    if (e.is_number()) return {constant(e.head)};
    if (!is_arithmetic(e)) return {atom(collect(e))};
    if (e.is_name()) return {atom(e)};
    switch (e.head.command_id()) {
      case cmd::plus:
      case cmd::minus: {
        Terms out = terms(e.args[0]);
        Terms right = terms(e.args[1]);
        if (e.is(cmd::minus)) negate(right);
        out.insert(out.end(), right.begin(), right.end());
        return out;
      }
      case cmd::negate: {
        Terms out = terms(e.args[0]);
        negate(out);
        return out;
      }
      case cmd::times: return {times(factor(e.args[0]), factor(e.args[1]))};
      case cmd::divide: return {times(factor(e.args[0]), raised(factor(e.args[1]), minus_one()))};
      case cmd::invert: return {raised(factor(e.args[0]), minus_one())};
      default: {  // ^
        const Expr exponent = collect(e.args[1]);
        if (!exponent.is_real())
          return {atom(apply_expr(cmd::power, {collect(e.args[0]), exponent}))};
        return {raised(factor(e.args[0]), exponent.head.as_real())};
      }
    }
  }

  static Real one() { return Real::from_int64(1); }
  static Real minus_one() { return Real::from_int64(-1); }

  static Term constant(const Object& c) {
    Term t;
    t.coefficient = c;
    return t;
  }
  static Term atom(Expr e) {
    Term t;
    t.factors.push_back(Factor{std::move(e), one()});
    return t;
  }

  void negate(Terms& ts) {
    for (Term& t : ts) t.coefficient = numeric_negate(t.coefficient);
  }
  Object numeric_negate(const Object& x) { return apply_command(m_, cmd::negate, x); }

  // One term standing for e: a sum of several is collected and kept as one factor.
  Term factor(const Expr& e) {
    Terms ts = merge(terms(e));
    if (ts.size() == 1) return std::move(ts[0]);
    if (ts.empty()) return constant(Object::real(Real()));
    return atom(build(std::move(ts)));
  }

  Term times(Term a, const Term& b) {
    a.coefficient = multiply(a.coefficient, b.coefficient);
    a.divisor = multiply(a.divisor, b.divisor);
    for (const Factor& f : b.factors) add_factor(a, f);
    return a;
  }

  Term raised(Term t, Real exponent) {
    if (exponent.is_negative()) std::swap(t.coefficient, t.divisor);
    const Object magnitude = Object::real(abs(exponent));
    t.coefficient = numeric(m_, cmd::power, t.coefficient, magnitude);
    t.divisor = numeric(m_, cmd::power, t.divisor, magnitude);
    for (Factor& f : t.factors)
      f.exponent = m_.flags.settle(rplrun::multiply(f.exponent, exponent));
    return t;
  }

  static void add_factor(Term& t, const Factor& f) {
    for (Factor& g : t.factors) {
      if (same_tree(g.base, f.base)) {
        g.exponent = add(g.exponent, f.exponent).value;
        return;
      }
    }
    t.factors.push_back(f);
  }

  static bool same_factors(const Term& a, const Term& b) {
    if (a.factors.size() != b.factors.size()) return false;
    for (std::size_t k = 0; k < a.factors.size(); ++k)
      if (!same_tree(a.factors[k].base, b.factors[k].base) ||
          a.factors[k].exponent != b.factors[k].exponent)
        return false;
    return true;
  }

  static Real degree(const Term& t) {
    Real d;
    for (const Factor& f : t.factors) d = add(d, f.exponent).value;
    return d;
  }

  static bool before(const Term& a, const Term& b) {
    const Real da = degree(a);
    const Real db = degree(b);
    if (da != db) return da < db;
    for (std::size_t k = 0; k < std::min(a.factors.size(), b.factors.size()); ++k) {
      const int c = compare_trees(a.factors[k].base, b.factors[k].base);
      if (c != 0) return c < 0;
      if (a.factors[k].exponent != b.factors[k].exponent)
        return a.factors[k].exponent < b.factors[k].exponent;
    }
    return a.factors.size() < b.factors.size();
  }

  // Like terms added (their coefficients as fractions, divided once at the end), zero
  // exponents and zero terms dropped, in the order of the result.
  Terms merge(Terms ts) {
    Terms out;
    for (Term& t : ts) {
      std::erase_if(t.factors, [](const Factor& f) { return f.exponent.is_zero(); });
      std::stable_sort(t.factors.begin(), t.factors.end(), [](const Factor& a, const Factor& b) {
        return compare_trees(a.base, b.base) < 0;
      });
      auto like =
          std::find_if(out.begin(), out.end(), [&](const Term& u) { return same_factors(u, t); });
      if (like == out.end()) {
        out.push_back(std::move(t));
      } else if (same(like->divisor, t.divisor)) {
        like->coefficient = numeric(m_, cmd::plus, like->coefficient, t.coefficient);
      } else {
        like->coefficient = numeric(m_, cmd::plus, multiply(like->coefficient, t.divisor),
                                    multiply(t.coefficient, like->divisor));
        like->divisor = multiply(like->divisor, t.divisor);
      }
    }
    for (Term& t : out) {
      t.coefficient = numeric(m_, cmd::divide, t.coefficient, t.divisor);
      t.divisor = Object::real(one());
    }
    std::erase_if(out, [](const Term& t) { return is_real_number(t.coefficient, 0); });
    std::stable_sort(out.begin(), out.end(), before);
    return out;
  }

  // The term with the coefficient c: 2*X^2/Y, -X for -1, X for 1, c alone without factors.
  static Expr term_expr(const Object& c, const Term& t) {
    const bool unit = is_real_number(c, 1) || is_real_number(c, -1);
    std::optional<Expr> numerator;
    std::optional<Expr> denominator;
    if (!unit || t.factors.empty()) numerator = number_expr(c);
    for (const Factor& f : t.factors) {
      const bool down = f.exponent.is_negative();
      const Real e = down ? rplrun::negate(f.exponent) : f.exponent;
      Expr piece = e == one() ? f.base : apply_expr(cmd::power, {f.base, number_expr(e)});
      std::optional<Expr>& side = down ? denominator : numerator;
      side = side ? apply_expr(cmd::times, {std::move(*side), std::move(piece)}) : std::move(piece);
    }
    Expr body = numerator ? std::move(*numerator) : number_expr(c);
    if (is_real_number(c, -1) && !t.factors.empty() && numerator)
      body = apply_expr(cmd::negate, {std::move(body)});
    if (denominator) body = apply_expr(cmd::divide, {std::move(body), std::move(*denominator)});
    return body;
  }

  static Expr build(const Terms& ts) {
    if (ts.empty()) return number_expr(Real());
    Expr sum = term_expr(ts[0].coefficient, ts[0]);
    for (std::size_t k = 1; k < ts.size(); ++k) {
      const Object& c = ts[k].coefficient;
      const bool negative = c.is(Kind::real) && c.as_real().is_negative();
      Expr piece = term_expr(negative ? Object::real(rplrun::negate(c.as_real())) : c, ts[k]);
      sum = apply_expr(negative ? cmd::minus : cmd::plus, {std::move(sum), std::move(piece)});
    }
    return sum;
  }

  Machine& m_;
};

}  // namespace

Expr collect(Machine& m, const Expr& tree) { return Collector(m).collect(tree); }

namespace {

void colct(Machine& m, const Args& a) { m.push(object_of(collect(m, expression_arg(a[1])))); }

// ---- EXPAN

// No product or power is expanded into more terms than this: it is left as it is.
constexpr std::size_t max_expanded_terms = 1000;

struct Addend {
  bool negative;
  Expr term;
};
using Addends = std::vector<Addend>;

void addends(const Expr& e, bool negative, Addends& out) {
  if (e.is(cmd::plus) || e.is(cmd::minus)) {
    addends(e.args[0], negative, out);
    addends(e.args[1], e.is(cmd::minus) != negative, out);
  } else if (e.is(cmd::negate)) {
    addends(e.args[0], !negative, out);
  } else {
    out.push_back({negative, e});
  }
}

Addends addends(const Expr& e) {
  Addends out;
  addends(e, false, out);
  return out;
}

Expr sum_expr(const Addends& terms) {
  Expr sum = terms[0].negative ? negation_of(terms[0].term) : terms[0].term;
  for (std::size_t k = 1; k < terms.size(); ++k)
    sum = terms[k].negative ? difference_of(std::move(sum), terms[k].term)
                            : sum_of(std::move(sum), terms[k].term);
  return sum;
}

// a*b with the factors of b multiplied in one by one: A*B*C rather than A*(B*C).
Expr chained(Expr a, const Expr& b) {
  if (b.is(cmd::times)) return chained(chained(std::move(a), b.args[0]), b.args[1]);
  return product_of(std::move(a), b);
}

// Every term of a times every term of b; none when there would be too many.
std::optional<Addends> distribute(const Addends& a, const Addends& b) {
  if (a.size() * b.size() > max_expanded_terms) return std::nullopt;
  Addends out;
  for (const Addend& x : a)
    for (const Addend& y : b) out.push_back({x.negative != y.negative, chained(x.term, y.term)});
  return out;
}

// f(a+b) and f(a-b) as sums of products of functions of a and of b: SIN(a+b) is
// SIN(a)*COS(b)+COS(a)*SIN(b), COS(a+b) is COS(a)*COS(b)-SIN(a)*SIN(b).
struct AngleSum {
  std::uint32_t function;
  std::uint32_t first_of_a, first_of_b, second_of_a, second_of_b;
  std::uint32_t on_sum, on_difference;  // how the two products combine
};

constexpr AngleSum angle_sums[] = {
    {cmd::sin, cmd::sin, cmd::cos, cmd::cos, cmd::sin, cmd::plus, cmd::minus},
    {cmd::cos, cmd::cos, cmd::cos, cmd::sin, cmd::sin, cmd::minus, cmd::plus},
};

// f(a op b) as f(a) op' f(b): EXP(a+b) is EXP(a)*EXP(b), LN(a/b) is LN(a)-LN(b).
struct Splitting {
  std::uint32_t function;
  std::uint32_t joined, joined_result;  // a+b gives f(a)*f(b) ...
  std::uint32_t parted, parted_result;  // ... a-b gives f(a)/f(b)
  bool of_powers;                       // f(a^b) is b*f(a)
};

constexpr Splitting splittings[] = {
    {cmd::exp, cmd::plus, cmd::times, cmd::minus, cmd::divide, false},
    {cmd::alog, cmd::plus, cmd::times, cmd::minus, cmd::divide, false},
    {cmd::ln, cmd::times, cmd::plus, cmd::divide, cmd::minus, true},
    {cmd::log, cmd::times, cmd::plus, cmd::divide, cmd::minus, true},
};

Expr operation_of(std::uint32_t id, Expr a, Expr b) {
  return simplified(apply_expr(id, {std::move(a), std::move(b)}));
}

// f(x) by the formula of its row, when one fits x.
Expr expand_function(const Expr& node) {
  const std::uint32_t f = node.head.command_id();
  const Expr& x = node.args[0];
  const bool sum = x.is(cmd::plus);
  for (const AngleSum& row : angle_sums) {
    if (row.function != f || (!sum && !x.is(cmd::minus))) continue;
    const Expr& a = x.args[0];
    const Expr& b = x.args[1];
    return operation_of(
        sum ? row.on_sum : row.on_difference,
        product_of(function_of(row.first_of_a, a), function_of(row.first_of_b, b)),
        product_of(function_of(row.second_of_a, a), function_of(row.second_of_b, b)));
  }
  for (const Splitting& row : splittings) {
    if (row.function != f) continue;
    if (x.is(row.joined) || x.is(row.parted))
      return operation_of(x.is(row.joined) ? row.joined_result : row.parted_result,
                          function_of(f, x.args[0]), function_of(f, x.args[1]));
    if (row.of_powers && x.is(cmd::power)) return product_of(x.args[1], function_of(f, x.args[0]));
  }
  return node;
}

// A power of a sum, multiplied out; a power whose exponent is a sum, as a product.
Expr expand_power(const Expr& node) {
  const Expr& base = node.args[0];
  const Expr& exponent = node.args[1];
  const Addends exponents = addends(exponent);
  if (exponents.size() > 1) {
    Expr product = power_of(base, exponents[0].term);
    if (exponents[0].negative) product = quotient_of(number_expr(Real::from_int64(1)), product);
    for (std::size_t k = 1; k < exponents.size(); ++k) {
      Expr factor = power_of(base, exponents[k].term);
      product = exponents[k].negative ? quotient_of(std::move(product), std::move(factor))
                                      : product_of(std::move(product), std::move(factor));
    }
    return product;
  }
  const Addends terms = addends(base);
  if (terms.size() < 2 || !exponent.is_real()) return node;
  const auto n = exponent.head.as_real().exact_int64();
  if (!n || *n < 2) return node;
  Addends result = terms;
  for (std::int64_t k = 1; k < *n; ++k) {
    auto next = distribute(result, terms);
    if (!next) return node;
    result = std::move(*next);
  }
  return sum_expr(result);
}

Expr expand(const Expr& e) {
  Expr node{e.head, {}};
  for (const Expr& arg : e.args) node.args.push_back(expand(arg));
  node = simplified(std::move(node));
  if (!node.head.is(Kind::command) || node.args.empty()) return node;
  switch (node.head.command_id()) {
    case cmd::times: {
      auto terms = distribute(addends(node.args[0]), addends(node.args[1]));
      return terms && terms->size() > 1 ? sum_expr(*terms) : node;
    }
    case cmd::divide: {
      Addends terms = addends(node.args[0]);
      if (terms.size() < 2) return node;
      for (Addend& t : terms) t.term = quotient_of(std::move(t.term), node.args[1]);
      return sum_expr(terms);
    }
    case cmd::plus:
    case cmd::minus: return sum_expr(addends(node));
    case cmd::negate: {
      Addends terms = addends(node.args[0]);
      for (Addend& t : terms) t.negative = !t.negative;
      return sum_expr(terms);
    }
    case cmd::power: return expand_power(node);
    default: return node.args.size() == 1 ? expand_function(node) : node;
  }
}

void expan(Machine& m, const Args& a) { m.push(object_of(expand(expression_arg(a[1])))); }

constexpr CommandRow rows[] = {
    {"COLCT", 1, colct},
    {"EXPAN", 1, expan},
};

}  // namespace

std::span<const CommandRow> collect_commands() { return rows; }

}  // namespace rplrun
