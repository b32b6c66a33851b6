#include "numbers/complex.h"

#include "numbers/decimal128.h"
#include "numbers/real_functions.h"

namespace rplrun {
namespace {

using dec::D;
using dec::Flags;
using dec::nearest;
using dec::W;

// A complex intermediate at 34 digits.
struct CW {
  W re;
  W im;
};

class Calc {
 public:
  W of(Real x) { return {dec::of(x), &flags_}; }
  W of(int n) { return {dec::from_int(n), &flags_}; }
  CW of(const Complex& z) { return {of(z.re), of(z.im)}; }
  W pi() { return {dec::pi34(), &flags_}; }

  W sqrt(W x) { return {bid128_sqrt(x.d, nearest, &flags_), &flags_}; }
  W exp(W x) { return {bid128_exp(x.d, nearest, &flags_), &flags_}; }
  W ln(W x) { return {bid128_log(x.d, nearest, &flags_), &flags_}; }
  W sin(W x) { return {bid128_sin(x.d, nearest, &flags_), &flags_}; }
  W cos(W x) { return {bid128_cos(x.d, nearest, &flags_), &flags_}; }
  W sinh(W x) { return {bid128_sinh(x.d, nearest, &flags_), &flags_}; }
  W cosh(W x) { return {bid128_cosh(x.d, nearest, &flags_), &flags_}; }
  W hypot(W x, W y) { return {bid128_hypot(x.d, y.d, nearest, &flags_), &flags_}; }
  W atan2(W y, W x) { return {bid128_atan2(y.d, x.d, nearest, &flags_), &flags_}; }
  W abs(W x) { return {bid128_abs(x.d), &flags_}; }
  W asin(W x) { return {bid128_asin(x.d, nearest, &flags_), &flags_}; }
  W acos(W x) { return {bid128_acos(x.d, nearest, &flags_), &flags_}; }
  W atan(W x) { return {bid128_atan(x.d, nearest, &flags_), &flags_}; }
  W asinh(W x) { return {bid128_asinh(x.d, nearest, &flags_), &flags_}; }
  W acosh(W x) { return {bid128_acosh(x.d, nearest, &flags_), &flags_}; }
  W atanh(W x) { return {bid128_atanh(x.d, nearest, &flags_), &flags_}; }

  // A product that is zero when a factor is, even if the other overflowed: the
  // imaginary part of cosh(2000,0) is 0, not undefined.
  W times(W a, W b) { return dec::is_zero(a.d) || dec::is_zero(b.d) ? of(0) : a * b; }

  CW mul(CW a, CW b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
  CW div(CW a, CW b) {
    const W d = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
  }
  CW ln(CW z) { return {ln(hypot(z.re, z.im)), atan2(z.im, z.re)}; }
  CW exp(CW z) {
    const W e = exp(z.re);
    if (dec::is_zero(z.im.d)) return {e, z.im};
    return {e * cos(z.im), e * sin(z.im)};
  }
  CW sqrt(CW z) {
    if (dec::is_zero(z.re.d) && dec::is_zero(z.im.d)) return z;
    const W r = hypot(z.re, z.im);
    const W two = of(2);
    if (!dec::is_negative(z.re.d)) {
      const W t = sqrt((r + z.re) / two);
      return {t, z.im / (two * t)};
    }
    const W t = sqrt((r - z.re) / two);
    return {abs(z.im) / (two * t), dec::is_negative(z.im.d) ? -t : t};
  }
  // -i ln(iz + sqrt(1 - z^2)), computed where no term cancels: re >= 0, im <= 0;
  // elsewhere through asin(-z) = -asin(z) and asin(conj z) = conj(asin z).
  CW asin(CW z) {
    const bool flip = dec::is_negative(z.re.d);
    if (flip) z = {-z.re, -z.im};
    const bool mirror = !dec::is_negative(z.im.d) && !dec::is_zero(z.im.d);
    if (mirror) z.im = -z.im;
    const CW one_minus_square{of(1) - (z.re * z.re - z.im * z.im), -(of(2) * z.re * z.im)};
    const CW root = sqrt(one_minus_square);
    const CW l = ln(CW{root.re - z.im, root.im + z.re});
    CW w{l.im, -l.re};
    if (mirror) w.im = -w.im;
    if (flip) w = {-w.re, -w.im};
    return w;
  }

  // The inverse functions on the real axis, where the general formulas would leave
  // rounding noise in a part that is exactly zero.
  CW asin_real(Real x) {  // (+-pi/2, -+acosh|x|) beyond [-1,1]
    const W w = of(x);
    if (!(Real::from_int64(1) < rplrun::abs(x))) return {asin(w), of(0)};
    const W half_pi = pi() / of(2);
    const W h = acosh(abs(w));
    return x.is_negative() ? CW{-half_pi, h} : CW{half_pi, -h};
  }
  CW acos_real(Real x) {  // (0, acosh x) above 1, (pi, -acosh|x|) below -1
    const W w = of(x);
    if (!(Real::from_int64(1) < rplrun::abs(x))) return {acos(w), of(0)};
    const W h = acosh(abs(w));
    return x.is_negative() ? CW{pi(), -h} : CW{of(0), h};
  }
  CW acosh_real(Real x) {  // (0, acos x) on [-1,1), (acosh|x|, pi) below -1
    const W w = of(x);
    if (!(x < Real::from_int64(1))) return {acosh(w), of(0)};
    if (!(x < Real::from_int64(-1))) return {of(0), acos(w)};
    return {acosh(abs(w)), pi()};
  }

  // A part left undefined by an overflow on the way (inf - inf in a large power) is
  // an overflow.
  RealResult finish(W x) {
    const RealResult r = dec::round12(x.d, flags_);
    if (r.condition == Condition::undefined_result && (flags_ & BID_OVERFLOW_EXCEPTION) != 0)
      return {Real::max(), Condition::overflow};
    return r;
  }
  ComplexResult finish(CW z) {
    const RealResult re = finish(z.re);
    const RealResult im = finish(z.im);
    return {{re.value, im.value}, worse(re.condition, im.condition)};
  }

 private:
  Flags flags_ = 0;
};

ComplexResult infinite() { return {{Real::max(), Real()}, Condition::infinite_result}; }

bool is_zero(const Complex& z) { return z.re.is_zero() && z.im.is_zero(); }

}  // namespace

Complex conj(const Complex& z) { return {z.re, negate(z.im)}; }
Complex negate(const Complex& z) { return {negate(z.re), negate(z.im)}; }

ComplexResult add(const Complex& a, const Complex& b) {
  Calc c;
  return c.finish(CW{c.of(a.re) + c.of(b.re), c.of(a.im) + c.of(b.im)});
}

ComplexResult subtract(const Complex& a, const Complex& b) {
  Calc c;
  return c.finish(CW{c.of(a.re) - c.of(b.re), c.of(a.im) - c.of(b.im)});
}

ComplexResult multiply(const Complex& a, const Complex& b) {
  Calc c;
  return c.finish(c.mul(c.of(a), c.of(b)));
}

ComplexResult divide(const Complex& a, const Complex& b) {
  if (is_zero(b)) {
    if (is_zero(a)) return {{}, Condition::undefined_result};
    // Each part saturates with the sign of the dividend's part.
    auto part = [](Real x) { return x.is_zero() ? x : x.is_negative() ? negate(Real::max()) : Real::max(); };
    return {{part(a.re), part(a.im)}, Condition::infinite_result};
  }
  Calc c;
  return c.finish(c.div(c.of(a), c.of(b)));
}

ComplexResult power(const Complex& base, const Complex& exponent) {
  if (is_zero(base)) {
    if (is_zero(exponent)) return {{Real::from_int64(1), Real()}};  // as 0^0 for reals
    if (exponent.re.is_negative() || exponent.re.is_zero()) return infinite();
    return {};
  }
  Calc c;
  // Small integer powers by repeated multiplication, exact where the parts allow:
  // (1,2)^2 is (-3,4).
  if (exponent.im.is_zero() && exponent.re.is_integer()) {
    const std::int64_t n = exponent.re.int64_toward_zero();
    if (n >= -1024 && n <= 1024) {
      std::int64_t k = n < 0 ? -n : n;
      CW result = c.of(Complex{Real::from_int64(1), Real()});
      CW factor = c.of(base);
      while (k > 0) {
        if ((k & 1) != 0) result = c.mul(result, factor);
        k >>= 1;
        if (k > 0) factor = c.mul(factor, factor);
      }
      if (n < 0) result = c.div(c.of(Complex{Real::from_int64(1), Real()}), result);
      return c.finish(result);
    }
  }
  return c.finish(c.exp(c.mul(c.of(exponent), c.ln(c.of(base)))));
}

ComplexResult inverse(const Complex& z) { return divide({Real::from_int64(1), Real()}, z); }
ComplexResult square(const Complex& z) { return multiply(z, z); }

ComplexResult square_root(const Complex& z) {
  Calc c;
  return c.finish(c.sqrt(c.of(z)));
}

RealResult abs(const Complex& z) {
  Calc c;
  return c.finish(c.hypot(c.of(z.re), c.of(z.im)));
}

RealResult arg(const Complex& z, AngleMode mode) {
  if (is_zero(z)) return {};
  Calc c;
  const W a = c.atan2(c.of(z.im), c.of(z.re));
  Flags f = 0;
  const RealResult r = dec::round12(dec::from_radians(a.d, mode, f), f);
  return r;
}

ComplexResult sign(const Complex& z) {
  if (is_zero(z)) return {};
  Calc c;
  const CW w = c.of(z);
  const W r = c.hypot(w.re, w.im);
  return c.finish(CW{w.re / r, w.im / r});
}

ComplexResult exp(const Complex& z) {
  Calc c;
  return c.finish(c.exp(c.of(z)));
}

ComplexResult ln(const Complex& z) {
  if (is_zero(z)) return {{negate(Real::max()), Real()}, Condition::infinite_result};
  Calc c;
  return c.finish(c.ln(c.of(z)));
}

ComplexResult log(const Complex& z) {
  if (is_zero(z)) return {{negate(Real::max()), Real()}, Condition::infinite_result};
  Calc c;
  const CW l = c.ln(c.of(z));
  const W ln10 = c.ln(c.of(10));
  return c.finish(CW{l.re / ln10, l.im / ln10});
}

ComplexResult alog(const Complex& z) {
  Calc c;
  const W ln10 = c.ln(c.of(10));
  const CW w = c.of(z);
  return c.finish(c.exp(CW{w.re * ln10, w.im * ln10}));
}

ComplexResult sin(const Complex& z) {
  Calc c;
  const CW w = c.of(z);
  return c.finish(CW{c.times(c.sin(w.re), c.cosh(w.im)), c.times(c.cos(w.re), c.sinh(w.im))});
}

ComplexResult cos(const Complex& z) {
  Calc c;
  const CW w = c.of(z);
  return c.finish(CW{c.times(c.cos(w.re), c.cosh(w.im)), -c.times(c.sin(w.re), c.sinh(w.im))});
}

ComplexResult tan(const Complex& z) {
  // tan(x+iy) = (sin 2x + i sinh 2y) / (cos 2x + cosh 2y)
  Calc c;
  const CW w = c.of(z);
  const W two = c.of(2);
  const W x2 = two * w.re;
  if (Real::from_int64(40) < abs(z.im)) {
    // cos 2x is below the 34th digit of cosh 2y: (2 sin 2x e^-2|y|, +-1), the real
    // part underflowing gracefully.
    const W decay = c.exp(-(two * c.abs(w.im)));
    return c.finish(CW{c.times(two * c.sin(x2), decay), c.of(z.im.sign())});
  }
  const W y2 = two * w.im;
  const W d = c.cos(x2) + c.cosh(y2);
  if (dec::is_zero(d.d)) return infinite();
  return c.finish(CW{c.sin(x2) / d, c.sinh(y2) / d});
}

ComplexResult asin(const Complex& z) {
  Calc c;
  return c.finish(z.im.is_zero() ? c.asin_real(z.re) : c.asin(c.of(z)));
}

ComplexResult acos(const Complex& z) {
  Calc c;
  if (z.im.is_zero()) return c.finish(c.acos_real(z.re));
  const CW a = c.asin(c.of(z));
  return c.finish(CW{c.pi() / c.of(2) - a.re, -a.im});
}

ComplexResult atan(const Complex& z) {
  if (z.im.is_zero()) {
    Calc c;
    return c.finish(CW{c.atan(c.of(z.re)), c.of(0)});
  }
  if (z.re.is_zero() && abs(z.im) == Real::from_int64(1)) return infinite();  // +-i
  Calc c;
  const CW w = c.of(z);
  const W one = c.of(1);
  // (i/2) ln((i+z)/(i-z))
  const CW l = c.ln(c.div(CW{w.re, one + w.im}, CW{-w.re, one - w.im}));
  const W two = c.of(2);
  return c.finish(CW{-(l.im / two), l.re / two});
}

ComplexResult sinh(const Complex& z) {
  Calc c;
  const CW w = c.of(z);
  return c.finish(CW{c.times(c.sinh(w.re), c.cos(w.im)), c.times(c.cosh(w.re), c.sin(w.im))});
}

ComplexResult cosh(const Complex& z) {
  Calc c;
  const CW w = c.of(z);
  return c.finish(CW{c.times(c.cosh(w.re), c.cos(w.im)), c.times(c.sinh(w.re), c.sin(w.im))});
}

ComplexResult tanh(const Complex& z) {
  // tanh z = -i tan(iz)
  const ComplexResult t = tan(Complex{negate(z.im), z.re});
  return {{t.value.im, negate(t.value.re)}, t.condition};
}

ComplexResult asinh(const Complex& z) {
  if (z.im.is_zero()) {
    Calc c;
    return c.finish(CW{c.asinh(c.of(z.re)), c.of(0)});
  }
  // asinh z = -i asin(iz)
  const ComplexResult s = asin(Complex{negate(z.im), z.re});
  return {{s.value.im, negate(s.value.re)}, s.condition};
}

ComplexResult acosh(const Complex& z) {
  Calc c;
  if (z.im.is_zero()) return c.finish(c.acosh_real(z.re));
  // ln(z + sqrt(z+1) sqrt(z-1))
  const CW w = c.of(z);
  const W one = c.of(1);
  const CW p = c.mul(c.sqrt(CW{w.re + one, w.im}), c.sqrt(CW{w.re - one, w.im}));
  return c.finish(c.ln(CW{w.re + p.re, w.im + p.im}));
}

ComplexResult atanh(const Complex& z) {
  if (z.im.is_zero()) {
    const Real size = abs(z.re);
    const Real one = Real::from_int64(1);
    if (size == one)
      return {{z.re.is_negative() ? negate(Real::max()) : Real::max(), Real()},
              Condition::infinite_result};
    Calc c;
    // atanh x on (-1,1); beyond, (atanh(1/x), -+pi/2): on each cut the value of the side
    // met turning counterclockwise round its branch point, so that ATANH stays odd.
    if (size < one) return c.finish(CW{c.atanh(c.of(z.re)), c.of(0)});
    const W half_pi = c.pi() / c.of(2);
    return c.finish(CW{c.atanh(c.of(1) / c.of(z.re)), z.re.is_negative() ? half_pi : -half_pi});
  }
  // atanh z = -i atan(iz)
  const ComplexResult t = atan(Complex{negate(z.im), z.re});
  return {{t.value.im, negate(t.value.re)}, t.condition};
}

ComplexResult from_polar(Real modulus, Real angle, AngleMode mode) {
  Flags f = 0;
  const dec::SinCos sc = dec::sincos(angle, mode, f);
  const W r{dec::of(modulus), &f};
  const RealResult re = dec::round12((r * W{sc.cos, &f}).d, f);
  const RealResult im = dec::round12((r * W{sc.sin, &f}).d, f);
  return {{re.value, im.value}, worse(re.condition, im.condition)};
}

ComplexResult to_polar(const Complex& z, AngleMode mode) {
  const RealResult r = abs(z);
  const RealResult a = arg(z, mode);
  return {{r.value, a.value}, worse(r.condition, a.condition)};
}

}  // namespace rplrun
