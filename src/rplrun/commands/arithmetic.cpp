// Real and complex arithmetic and functions, and the symbolic constants. The numbers
// themselves come from the number modules; this file only picks the function by the
// arguments' kinds.
#include "commands/graphics.h"
#include "commands/support.h"
#include "machine/clock.h"
#include "objects/display.h"

namespace rplrun {

namespace {

using RealOp2 = RealResult (*)(Real, Real);
using ComplexOp2 = ComplexResult (*)(const Complex&, const Complex&);

void numeric2(Machine& m, const Args& a, RealOp2 real_op, ComplexOp2 complex_op) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (x.is(Kind::real) && y.is(Kind::real)) {
    m.push(settled(m, real_op(x.as_real(), y.as_real())));
  } else if (complex_op && x.is_number() && y.is_number()) {
    m.push(settled(m, complex_op(x.to_complex(), y.to_complex())));
  } else {
    fail(bad_argument_type);
  }
}

// With a binary integer among the operands: binary arithmetic.
bool binary2(Machine& m, const Args& a, BinaryOp op) {
  if (!a[2].is(Kind::binary) && !a[1].is(Kind::binary)) return false;
  m.push(binary_arithmetic(m, op, a[2], a[1]));
  return true;
}

// + also joins strings (any other object by its text) and lists. A string or list built
// step by step (at its end, or a list at its front) grows in place when nothing else
// holds it, so that building one is linear.
void plus(Machine& m, const Args& a) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (x.is(Kind::list) || y.is(Kind::list)) {
    const Object* added = y.is(Kind::list) ? y.items().data() : &y;
    const std::size_t count = y.is(Kind::list) ? y.items().size() : 1;
    check_item_count((x.is(Kind::list) ? x.items().size() : 1) + count);
    if (x.is(Kind::list)) {
      if (const auto growth = m.growth(x)) {
        growth->append(added, count);
        m.push(x);
        return;
      }
    }
    // Or the list it goes in front of.
    if (y.is(Kind::list)) {
      if (const auto growth = m.growth(y)) {
        const Object* front = x.is(Kind::list) ? x.items().data() : &x;
        growth->prepend(front, x.is(Kind::list) ? x.items().size() : 1);
        m.push(y);
        return;
      }
    }
    std::vector<Object> items;
    items.reserve((x.is(Kind::list) ? x.items().size() : 1) + count);
    if (x.is(Kind::list))
      items.assign(x.items().begin(), x.items().end());
    else
      items.push_back(x);
    items.insert(items.end(), added, added + count);
    m.push(Object::list(std::move(items)));
    return;
  }
  if (x.is(Kind::string) || y.is(Kind::string)) {
    auto text = [&](const Object& o) {
      return o.is(Kind::string) ? o.as_string() : decompile(o, m.flags);
    };
    if (x.is(Kind::string)) {
      std::string decompiled;
      if (!y.is(Kind::string)) decompiled = text(y);
      const std::string& tail = y.is(Kind::string) ? y.as_string() : decompiled;
      check_string_size(x.as_string().size() + tail.size());
      if (const auto growth = m.growth(x)) {
        growth->append(tail);
        m.push(x);
        return;
      }
      m.push(Object::string(x.as_string() + tail));
      return;
    }
    const std::string head = text(x);
    check_string_size(head.size() + y.as_string().size());
    m.push(Object::string(head + y.as_string()));
    return;
  }
  if (!grob_plus(m, a) && !binary2(m, a, BinaryOp::add)) numeric2(m, a, add, add);
}

void minus(Machine& m, const Args& a) {
  if (!binary2(m, a, BinaryOp::subtract)) numeric2(m, a, subtract, subtract);
}
void times(Machine& m, const Args& a) {
  if (!binary2(m, a, BinaryOp::multiply)) numeric2(m, a, multiply, multiply);
}
void divided(Machine& m, const Args& a) {
  if (!binary2(m, a, BinaryOp::divide)) numeric2(m, a, divide, divide);
}

void raise(Machine& m, const Args& a) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (x.is(Kind::real) && y.is(Kind::real)) {
    m.push(settled(m, power(x.as_real(), y.as_real())));
  } else if (x.is_number() && y.is_number()) {
    m.push(settled(m, power(x.to_complex(), y.to_complex())));
  } else {
    fail(bad_argument_type);
  }
}

// Two reals only.
template <RealResult (*op)(Real, Real)>
void real2(Machine& m, const Args& a) {
  m.push(settled(m, op(real_arg(a[2]), real_arg(a[1]))));
}

template <Real (*op)(Real, Real)>
void real2_exact(Machine& m, const Args& a) {
  m.push(Object::real(op(real_arg(a[2]), real_arg(a[1]))));
}

template <Real (*op)(Real)>
void real1_exact(Machine& m, const Args& a) {
  m.push(Object::real(op(real_arg(a[1]))));
}

template <RealResult (*op)(Real)>
void real1(Machine& m, const Args& a) {
  m.push(settled(m, op(real_arg(a[1]))));
}

template <NumberResult (*op)(Real)>
void real1_number(Machine& m, const Args& a) {
  m.push(settled(m, op(real_arg(a[1]))));
}

// A function of a real or a complex argument.
template <class RealFn, class ComplexFn>
void number1(Machine& m, const Object& x, RealFn real_fn, ComplexFn complex_fn) {
  if (x.is(Kind::real)) {
    m.push(settled(m, real_fn(x.as_real())));
  } else if (x.is(Kind::complex)) {
    m.push(settled(m, complex_fn(x.as_complex())));
  } else {
    fail(bad_argument_type);
  }
}

void neg(Machine& m, const Args& a) {
  if (a[1].is(Kind::binary)) {  // the two's complement
    m.push(Object::binary(negate_word(a[1].as_binary(), m.flags.word_size())));
    return;
  }
  if (grob_neg(m, a)) return;
  number1(
      m, a[1], [&](Real x) { return RealResult{negate(x)}; },
      [](const Complex& z) { return ComplexResult{negate(z)}; });
}

void inv(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return inverse(x); }, [](const Complex& z) { return inverse(z); });
}

void sq(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return square(x); }, [](const Complex& z) { return square(z); });
}

void sqrt_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return square_root(x); },
      [](const Complex& z) { return square_root(z); });
}

void exp_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return exp(x); }, [](const Complex& z) { return exp(z); });
}

void ln_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return ln(x); }, [](const Complex& z) { return ln(z); });
}

void log_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return log(x); }, [](const Complex& z) { return log(z); });
}

void alog_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return alog(x); }, [](const Complex& z) { return alog(z); });
}

void sin_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return sin(x, mode); }, [](const Complex& z) { return sin(z); });
}

void cos_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return cos(x, mode); }, [](const Complex& z) { return cos(z); });
}

void tan_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return tan(x, mode); }, [](const Complex& z) { return tan(z); });
}

void asin_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return asin(x, mode); }, [](const Complex& z) { return asin(z); });
}

void acos_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return acos(x, mode); }, [](const Complex& z) { return acos(z); });
}

void atan_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return atan(x, mode); }, [](const Complex& z) { return atan(z); });
}

void sinh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return sinh(x); }, [](const Complex& z) { return sinh(z); });
}

void cosh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return cosh(x); }, [](const Complex& z) { return cosh(z); });
}

void tanh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return tanh(x); }, [](const Complex& z) { return tanh(z); });
}

void asinh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return asinh(x); }, [](const Complex& z) { return asinh(z); });
}

void acosh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return acosh(x); }, [](const Complex& z) { return acosh(z); });
}

void atanh_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return atanh(x); }, [](const Complex& z) { return atanh(z); });
}

void sign_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return RealResult{sign(x)}; },
      [](const Complex& z) { return sign(z); });
}

void conj_(Machine& m, const Args& a) {
  [[maybe_unused]] const AngleMode mode = m.flags.angle_mode();
  number1(
      m, a[1], [&](Real x) { return RealResult{x}; },
      [](const Complex& z) { return ComplexResult{conj(z)}; });
}

void abs_(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::real))
    m.push(Object::real(abs(x.as_real())));
  else if (x.is(Kind::complex))
    m.push(settled(m, abs(x.as_complex())));
  else
    fail(bad_argument_type);
}

void arg_(Machine& m, const Args& a) {
  if (!a[1].is_number()) fail(bad_argument_type);
  m.push(settled(m, arg(a[1].to_complex(), m.flags.angle_mode())));
}

void re(Machine& m, const Args& a) {
  if (!a[1].is_number()) fail(bad_argument_type);
  m.push(Object::real(a[1].to_complex().re));
}

void im(Machine& m, const Args& a) {
  if (!a[1].is_number()) fail(bad_argument_type);
  m.push(Object::real(a[1].to_complex().im));
}

void r_to_c(Machine& m, const Args& a) {
  m.push(Object::complex(Complex{real_arg(a[2]), real_arg(a[1])}));
}

void c_to_r(Machine& m, const Args& a) {
  if (!a[1].is(Kind::complex)) fail(bad_argument_type);
  m.push(Object::real(a[1].as_complex().re));
  m.push(Object::real(a[1].as_complex().im));
}

void xroot_(Machine& m, const Args& a) {
  m.push(settled(m, xroot(real_arg(a[2]), real_arg(a[1]))));
}

void factorial_(Machine& m, const Args& a) { m.push(settled(m, factorial(real_arg(a[1])))); }

void d_to_r(Machine& m, const Args& a) { m.push(settled(m, deg_to_rad(real_arg(a[1])))); }
void r_to_d(Machine& m, const Args& a) { m.push(settled(m, rad_to_deg(real_arg(a[1])))); }

// \pi, e, i, MAXR, MINR: themselves, symbolically, unless numbers are asked for.
void constant(Machine& m, std::uint32_t id, const Object& value) {
  if (m.flags.symbolic_constants() && !m.numeric()) {
    m.push(Object::algebraic({Object::command(id)}));
  } else {
    m.push(value);
  }
}

void pi_(Machine& m, const Args&) { constant(m, cmd::pi, Object::real(Real::pi())); }
void e_(Machine& m, const Args&) { constant(m, cmd::e, Object::real(Real::e())); }
void i_(Machine& m, const Args&) {
  constant(m, cmd::i, Object::complex(Complex{Real(), Real::from_int64(1)}));
}
void maxr(Machine& m, const Args&) { constant(m, cmd::maxr, Object::real(Real::max())); }
void minr(Machine& m, const Args&) { constant(m, cmd::minr, Object::real(Real::min())); }

void rand_(Machine& m, const Args&) { m.push(Object::real(m.random.next())); }

// 0 RDZ reads the clock's ticks: a fixed moment unless the real clock is asked for.
void rdz(Machine& m, const Args& a) {
  const Real seed = real_arg(a[1]);
  if (seed.is_zero())
    m.random.seed_from_clock(clock_now(m.real_clock, m.clock_offset));
  else
    m.random.seed(seed);
}

constexpr Algebra infix(std::uint8_t precedence) { return {Notation::infix, precedence, 2}; }
constexpr Algebra function(std::uint8_t arity) { return {Notation::function, prec_atom, arity}; }
constexpr Algebra f1 = function(1);
constexpr Algebra f2 = function(2);
constexpr Algebra f0 = function(0);
constexpr Operands numbers = Operands::numbers;
constexpr Operands maps = Operands::numbers_mapping_lists;
constexpr Operands takes = Operands::numbers_taking_lists;

constexpr CommandRow rows[] = {
    {"+", 2, plus, infix(prec_sum), true, takes, add},
    {"-", 2, minus, infix(prec_sum), true, maps, subtract},
    {"*", 2, times, infix(prec_product), true, maps, multiply},
    {"/", 2, divided, infix(prec_product), true, maps, divide},
    {"^", 2, raise, infix(prec_power), true, maps},
    {"NEG", 1, neg, {Notation::prefix, prec_negate, 1}, true, maps},
    {"!", 1, factorial_, {Notation::postfix, prec_postfix, 1}, true, maps},
    {"FACT", 1, factorial_, {}, false, numbers},
    {"INV", 1, inv, f1, true, maps},
    {"SQ", 1, sq, f1, true, maps},
    {"\\v/", 1, sqrt_, {Notation::prefix, prec_postfix, 1}, true, maps},
    {"ABS", 1, abs_, f1, true, maps},
    {"SIGN", 1, sign_, f1, true, maps},
    {"MOD", 2, real2<mod>, infix(prec_product), true, maps},
    {"IP", 1, real1_exact<ip>, f1, true, maps},
    {"FP", 1, real1_exact<fp>, f1, true, maps},
    {"FLOOR", 1, real1_exact<floor>, f1, true, maps},
    {"CEIL", 1, real1_exact<ceil>, f1, true, maps},
    {"RND", 2, real2<rnd>, f2, true, maps},
    {"TRNC", 2, real2<trnc>, f2, true, maps},
    {"MIN", 2, real2_exact<min>, f2, true, maps},
    {"MAX", 2, real2_exact<max>, f2, true, maps},
    {"%", 2, real2<percent>, f2, true, maps},
    {"%T", 2, real2<percent_total>, f2, true, maps},
    {"%CH", 2, real2<percent_change>, f2, true, maps},
    {"MANT", 1, real1_exact<mantissa>, f1, true, maps},
    {"XPON", 1, real1_exact<xpon>, f1, true, maps},
    {"XROOT", 2, xroot_, {Notation::function, prec_atom, 2, true}, true, maps},
    {"EXP", 1, exp_, f1, true, maps},
    {"LN", 1, ln_, f1, true, maps},
    {"LOG", 1, log_, f1, true, maps},
    {"ALOG", 1, alog_, f1, true, maps},
    {"EXPM", 1, real1<expm>, f1, true, maps},
    {"LNP1", 1, real1<lnp1>, f1, true, maps},
    {"SIN", 1, sin_, f1, true, maps},
    {"COS", 1, cos_, f1, true, maps},
    {"TAN", 1, tan_, f1, true, maps},
    {"ASIN", 1, asin_, f1, true, maps},
    {"ACOS", 1, acos_, f1, true, maps},
    {"ATAN", 1, atan_, f1, true, maps},
    {"SINH", 1, sinh_, f1, true, maps},
    {"COSH", 1, cosh_, f1, true, maps},
    {"TANH", 1, tanh_, f1, true, maps},
    {"ASINH", 1, asinh_, f1, true, maps},
    {"ACOSH", 1, acosh_, f1, true, maps},
    {"ATANH", 1, atanh_, f1, true, maps},
    {"D\\->R", 1, d_to_r, f1, true, maps},
    {"R\\->D", 1, r_to_d, f1, true, maps},
    {"COMB", 2, real2<comb>, f2, true, maps},
    {"PERM", 2, real2<perm>, f2, true, maps},
    {"\\pi", 0, pi_, f0, false, numbers},
    {"e", 0, e_, f0, false, numbers},
    {"i", 0, i_, f0, false, numbers},
    {"MAXR", 0, maxr, f0, false, numbers},
    {"MINR", 0, minr, f0, false, numbers},
    {"RAND", 0, rand_, {}, false, numbers},
    {"RDZ", 1, rdz, {}, false, numbers},
    {"R\\->C", 2, r_to_c, {}, false, numbers},
    {"C\\->R", 1, c_to_r, {}, false, numbers},
    {"RE", 1, re, f1, true, maps},
    {"IM", 1, im, f1, true, maps},
    {"CONJ", 1, conj_, f1, true, maps},
    {"ARG", 1, arg_, f1, true, maps},
};

}  // namespace

std::span<const CommandRow> arithmetic_commands() { return rows; }

}  // namespace rplrun
