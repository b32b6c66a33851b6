#include "numbers/real_functions.h"

#include "numbers/decimal128.h"

namespace rplrun {
namespace {

using dec::D;
using dec::Flags;
using dec::nearest;
using dec::of;
using dec::round12;
using dec::W;

RealResult real(D x, Flags f) { return round12(x, f); }

Real real_of(D x) { return round12(x, 0).value; }

RealResult condition_only(Condition c) { return {Real(), c}; }

// The result's value; its condition, if any, stored for the caller.
inline Real with_condition(RealResult r, Condition& condition) {
  if (r.condition != Condition::none) [[unlikely]]
    condition = r.condition;
  return r.value;
}

RealResult underflow(bool negative) {
  return {Real(), negative ? Condition::underflow_negative : Condition::underflow_positive};
}

RealResult infinite(bool negative) {
  return {negative ? negate(Real::max()) : Real::max(), Condition::infinite_result};
}

// A complex result from 34-digit parts.
ComplexResult complex_of(D re, D im, Flags f) {
  const RealResult r = round12(re, f);
  const RealResult i = round12(im, f);
  return {{r.value, i.value}, worse(r.condition, i.condition)};
}

bool is_odd_integer(Real x) {
  if (!x.is_integer()) return false;
  Flags f = 0;
  const D half = bid128_div(of(x), dec::from_int(2), nearest, &f);
  return !dec::equal(bid128_round_integral_zero(half, &f), half);
}

// x^y for x < 0 and a fractional y: |x|^y (cos pi*y, sin pi*y), the angle reduced
// exactly so that y = .5 gives a purely imaginary result.
ComplexResult negative_base_power(D x, D y, Flags& f) {
  const W magnitude{bid128_pow(bid128_abs(x), y, nearest, &f), &f};
  const dec::SinCos sc = dec::sincos_turns(y, dec::from_int(1), f);
  return complex_of((magnitude * W{sc.cos, &f}).d, (magnitude * W{sc.sin, &f}).d, f);
}

// RND and TRNC: quantize x to the place that n names.
RealResult round_at(Real x, Real n, _IDEC_round rounding) {
  const std::optional<std::int64_t> places = n.exact_int64();
  if (!places || *places < -11 || *places > 11) return condition_only(Condition::bad_argument_value);
  if (x.is_zero()) return {x};
  const int place = *places >= 0 ? static_cast<int>(-*places)
                                 : x.exponent() + static_cast<int>(*places) + 1;
  if (x.decimal().exponent >= place) return {x};  // nothing below the place
  Flags f = 0;
  return real(bid128_quantize(of(x), dec::make(false, 1, place), rounding, &f), f);
}

}  // namespace

Real negate(Real x) { return x.is_zero() ? x : real_of(bid128_negate(of(x))); }
Real abs(Real x) { return real_of(bid128_abs(of(x))); }
Real sign(Real x) { return Real::from_int64(x.sign()); }

Real ip(Real x) {
  Flags f = 0;
  return real_of(bid128_round_integral_zero(of(x), &f));
}

Real fp(Real x) {
  Flags f = 0;
  const D d = of(x);
  return real_of(bid128_sub(d, bid128_round_integral_zero(d, &f), nearest, &f));
}

Real floor(Real x) {
  Flags f = 0;
  return real_of(bid128_round_integral_negative(of(x), &f));
}

Real ceil(Real x) {
  Flags f = 0;
  return real_of(bid128_round_integral_positive(of(x), &f));
}

Real min(Real a, Real b) { return b < a ? b : a; }
Real max(Real a, Real b) { return a < b ? b : a; }

Real mantissa(Real x) {
  const Real::Decimal d = x.decimal();
  return Real::from_decimal(d.negative, d.coefficient, d.exponent - x.exponent()).value;
}

Real xpon(Real x) { return Real::from_int64(x.exponent()); }

RealResult add(Real a, Real b) {
  Flags f = 0;
  return real(bid128_add(of(a), of(b), nearest, &f), f);
}

RealResult subtract(Real a, Real b) {
  Flags f = 0;
  return real(bid128_sub(of(a), of(b), nearest, &f), f);
}

RealResult multiply(Real a, Real b) {
  Flags f = 0;
  return real(bid128_mul(of(a), of(b), nearest, &f), f);
}

RealResult divide(Real a, Real b) {
  if (b.is_zero())
    return a.is_zero() ? condition_only(Condition::undefined_result) : infinite(a.is_negative());
  Flags f = 0;
  return real(bid128_div(of(a), of(b), nearest, &f), f);
}

// Written out rather than through the RealResult forms: the value then stays in
// registers, which the counting loops notice.
Real add(Real a, Real b, Condition& condition) {
  Flags f = 0;
  return with_condition(round12(bid128_add(of(a), of(b), nearest, &f), f), condition);
}

Real subtract(Real a, Real b, Condition& condition) {
  Flags f = 0;
  return with_condition(round12(bid128_sub(of(a), of(b), nearest, &f), f), condition);
}

Real multiply(Real a, Real b, Condition& condition) {
  Flags f = 0;
  return with_condition(round12(bid128_mul(of(a), of(b), nearest, &f), f), condition);
}

Real divide(Real a, Real b, Condition& condition) {
  if (b.is_zero()) return with_condition(divide(a, b), condition);
  Flags f = 0;
  return with_condition(round12(bid128_div(of(a), of(b), nearest, &f), f), condition);
}

RealResult inverse(Real x) { return divide(Real::from_int64(1), x); }
RealResult square(Real x) { return multiply(x, x); }

RealResult mod(Real x, Real y) {
  if (y.is_zero()) return {x};
  Flags f = 0;
  D r = bid128_fmod(of(x), of(y), &f);  // exact, with the sign of x
  if (!dec::is_zero(r) && dec::is_negative(r) != y.is_negative())
    r = bid128_add(r, of(y), nearest, &f);
  return real(r, f);
}

RealResult percent(Real x, Real y) {
  Flags f = 0;
  W a{of(x), &f};
  return real((a * W{of(y), &f} / W{dec::from_int(100), &f}).d, f);
}

RealResult percent_total(Real x, Real y) {
  if (x.is_zero())
    return y.is_zero() ? condition_only(Condition::undefined_result) : infinite(y.is_negative());
  Flags f = 0;
  W hundred{dec::from_int(100), &f};
  return real((hundred * W{of(y), &f} / W{of(x), &f}).d, f);
}

RealResult percent_change(Real x, Real y) {
  if (x.is_zero())
    return y.is_zero() ? condition_only(Condition::undefined_result) : infinite(y.is_negative());
  Flags f = 0;
  const W a{of(x), &f};
  return real((W{dec::from_int(100), &f} * (W{of(y), &f} - a) / a).d, f);
}

RealResult rnd(Real x, Real n) { return round_at(x, n, BID_ROUNDING_TIES_AWAY); }
RealResult trnc(Real x, Real n) { return round_at(x, n, BID_ROUNDING_TO_ZERO); }

NumberResult power(Real x, Real y) {
  if (x.is_zero()) {
    if (y.is_zero()) return RealResult{Real::from_int64(1)};  // 0^0
    if (!y.is_negative()) return RealResult{Real()};
    return infinite(false);
  }
  Flags f = 0;
  if (x.is_negative() && !y.is_integer()) return negative_base_power(of(x), of(y), f);
  const D r = bid128_pow(of(x), of(y), nearest, &f);
  // The library flags some results below its range as overflows: a zero power of a
  // non-zero number is an underflow.
  if (dec::is_zero(r)) return underflow(x.is_negative() && is_odd_integer(y));
  return real(r, f);
}

NumberResult square_root(Real x) {
  Flags f = 0;
  if (!x.is_negative()) return real(bid128_sqrt(of(x), nearest, &f), f);
  return complex_of(dec::from_int(0), bid128_sqrt(bid128_abs(of(x)), nearest, &f), f);
}

NumberResult xroot(Real y, Real x) {
  if (x.is_zero()) return condition_only(Condition::undefined_result);
  Flags f = 0;
  const D reciprocal = bid128_div(dec::from_int(1), of(x), nearest, &f);
  if (y.is_zero()) return x.is_negative() ? NumberResult(infinite(false)) : RealResult{y};
  if (!y.is_negative()) return real(bid128_pow(of(y), reciprocal, nearest, &f), f);
  if (is_odd_integer(x)) {
    const D root = bid128_pow(bid128_abs(of(y)), reciprocal, nearest, &f);
    return real(bid128_negate(root), f);
  }
  if (!x.is_integer()) return condition_only(Condition::bad_argument_value);
  return negative_base_power(of(y), reciprocal, f);
}

RealResult factorial(Real x) {
  Flags f = 0;
  if (x.is_integer()) {
    if (x.is_negative()) return infinite(false);  // a pole of gamma
    const std::int64_t n = x.int64_toward_zero();
    if (n > 253) return {Real::max(), Condition::overflow};  // 254! > 9.99999999999E499
    D product = dec::from_int(1);
    for (int i = 2; i <= n; ++i) product = bid128_mul(product, dec::from_int(i), nearest, &f);
    return real(product, f);
  }
  const D shifted = bid128_add(of(x), dec::from_int(1), nearest, &f);
  return real(bid128_tgamma(shifted, nearest, &f), f);
}

RealResult comb(Real n, Real k) {
  if (!n.is_integer() || !k.is_integer() || n.is_negative() || k.is_negative() || n < k)
    return condition_only(Condition::bad_argument_value);
  Flags f = 0;
  // C(n,k) = C(n,n-k); beyond 1000 factors the result exceeds C(2002,1001) > 1E500.
  Real smaller = min(k, subtract(n, k).value);
  if (Real::from_int64(1000) < smaller) return {Real::max(), Condition::overflow};
  const int count = static_cast<int>(smaller.int64_toward_zero());
  const D top = bid128_sub(of(n), of(smaller), nearest, &f);
  const D limit = of(Real::max());
  D c = dec::from_int(1);
  for (int i = 1; i <= count; ++i) {
    c = bid128_mul(c, bid128_add(top, dec::from_int(i), nearest, &f), nearest, &f);
    c = bid128_div(c, dec::from_int(i), nearest, &f);
    if (dec::less(limit, c)) return {Real::max(), Condition::overflow};
  }
  return real(c, f);
}

RealResult perm(Real n, Real k) {
  if (!n.is_integer() || !k.is_integer() || n.is_negative() || k.is_negative() || n < k)
    return condition_only(Condition::bad_argument_value);
  // k! alone exceeds the range beyond 253 factors.
  if (Real::from_int64(253) < k) return {Real::max(), Condition::overflow};
  Flags f = 0;
  const int count = static_cast<int>(k.int64_toward_zero());
  const D limit = of(Real::max());
  D p = dec::from_int(1);
  for (int i = 0; i < count; ++i) {
    p = bid128_mul(p, bid128_sub(of(n), dec::from_int(i), nearest, &f), nearest, &f);
    if (dec::less(limit, p)) return {Real::max(), Condition::overflow};
  }
  return real(p, f);
}

RealResult exp(Real x) {
  Flags f = 0;
  return real(bid128_exp(of(x), nearest, &f), f);
}

RealResult expm(Real x) {
  Flags f = 0;
  return real(bid128_expm1(of(x), nearest, &f), f);
}

NumberResult ln(Real x) {
  if (x.is_zero()) return infinite(true);
  Flags f = 0;
  if (!x.is_negative()) return real(bid128_log(of(x), nearest, &f), f);
  return complex_of(bid128_log(bid128_abs(of(x)), nearest, &f), dec::pi34(), f);
}

NumberResult log(Real x) {
  if (x.is_zero()) return infinite(true);
  Flags f = 0;
  if (!x.is_negative()) return real(bid128_log10(of(x), nearest, &f), f);
  W ln10{bid128_log(dec::from_int(10), nearest, &f), &f};
  return complex_of(bid128_log10(bid128_abs(of(x)), nearest, &f), (W{dec::pi34(), &f} / ln10).d, f);
}

RealResult alog(Real x) {
  Flags f = 0;
  return real(bid128_exp10(of(x), nearest, &f), f);
}

RealResult lnp1(Real x) {
  const Real minus_one = Real::from_int64(-1);
  if (x == minus_one) return infinite(true);
  if (x < minus_one) return condition_only(Condition::bad_argument_value);
  Flags f = 0;
  return real(bid128_log1p(of(x), nearest, &f), f);
}

RealResult sin(Real x, AngleMode mode) {
  Flags f = 0;
  if (mode == AngleMode::radians) return real(bid128_sin(of(x), nearest, &f), f);
  return real(dec::sincos(x, mode, f).sin, f);
}

RealResult cos(Real x, AngleMode mode) {
  Flags f = 0;
  if (mode == AngleMode::radians) return real(bid128_cos(of(x), nearest, &f), f);
  return real(dec::sincos(x, mode, f).cos, f);
}

RealResult tan(Real x, AngleMode mode) {
  Flags f = 0;
  if (mode == AngleMode::radians) return real(bid128_tan(of(x), nearest, &f), f);
  const dec::SinCos sc = dec::sincos(x, mode, f);
  if (dec::is_zero(sc.cos)) return infinite(false);  // 90 TAN
  return real(bid128_div(sc.sin, sc.cos, nearest, &f), f);
}

NumberResult asin(Real x, AngleMode mode) {
  const Real one = Real::from_int64(1);
  if (one < abs(x)) return asin(Complex{x, Real()});
  Flags f = 0;
  return real(dec::from_radians(bid128_asin(of(x), nearest, &f), mode, f), f);
}

NumberResult acos(Real x, AngleMode mode) {
  const Real one = Real::from_int64(1);
  if (one < abs(x)) return acos(Complex{x, Real()});
  Flags f = 0;
  return real(dec::from_radians(bid128_acos(of(x), nearest, &f), mode, f), f);
}

RealResult atan(Real x, AngleMode mode) {
  Flags f = 0;
  return real(dec::from_radians(bid128_atan(of(x), nearest, &f), mode, f), f);
}

RealResult sinh(Real x) {
  Flags f = 0;
  return real(bid128_sinh(of(x), nearest, &f), f);
}

RealResult cosh(Real x) {
  Flags f = 0;
  return real(bid128_cosh(of(x), nearest, &f), f);
}

RealResult tanh(Real x) {
  Flags f = 0;
  return real(bid128_tanh(of(x), nearest, &f), f);
}

RealResult asinh(Real x) {
  Flags f = 0;
  return real(bid128_asinh(of(x), nearest, &f), f);
}

NumberResult acosh(Real x) {
  if (x < Real::from_int64(1)) return acosh(Complex{x, Real()});
  Flags f = 0;
  return real(bid128_acosh(of(x), nearest, &f), f);
}

NumberResult atanh(Real x) {
  const Real one = Real::from_int64(1);
  const Real size = abs(x);
  if (size == one) return infinite(x.is_negative());
  if (one < size) return atanh(Complex{x, Real()});
  Flags f = 0;
  return real(bid128_atanh(of(x), nearest, &f), f);
}

RealResult deg_to_rad(Real x) {
  Flags f = 0;
  W a{of(x), &f};
  return real((a * W{dec::pi34(), &f} / W{dec::from_int(180), &f}).d, f);
}

RealResult rad_to_deg(Real x) {
  Flags f = 0;
  W a{of(x), &f};
  return real((a * W{dec::from_int(180), &f} / W{dec::pi34(), &f}).d, f);
}

}  // namespace rplrun
