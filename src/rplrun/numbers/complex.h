// The HP48 complex number: a pair of Reals. Each function computes at 34 digits where
// the decimal library has the pieces and rounds each part once to 12 digits.
//
// Complex functions read and return angles in radians whatever the angle mode, as the
// calculator does; only ARG and the polar form use the mode.
#pragma once

#include "numbers/real.h"

namespace rplrun {

struct Complex {
  Real re;
  Real im;
  friend bool operator==(const Complex&, const Complex&) = default;
};

struct ComplexResult {
  Complex value;
  Condition condition = Condition::none;
};

// The result of a function that may leave the real domain (-9 sqrt is (0,3)): a real
// (value.re, with value.im zero) unless is_complex.
struct NumberResult {
  Complex value;
  bool is_complex = false;
  Condition condition = Condition::none;

  NumberResult() = default;
  NumberResult(RealResult r) : value{r.value, Real()}, condition(r.condition) {}  // NOLINT
  NumberResult(ComplexResult c)                                                    // NOLINT
      : value(c.value), is_complex(true), condition(c.condition) {}
  Real real() const { return value.re; }
};

// R->C and C->R are the pair itself: Complex{re, im}, z.re, z.im.
Complex conj(const Complex& z);  // CONJ
Complex negate(const Complex& z);

ComplexResult add(const Complex& a, const Complex& b);
ComplexResult subtract(const Complex& a, const Complex& b);
ComplexResult multiply(const Complex& a, const Complex& b);
ComplexResult divide(const Complex& a, const Complex& b);
ComplexResult power(const Complex& base, const Complex& exponent);  // ^
ComplexResult inverse(const Complex& z);                            // INV
ComplexResult square(const Complex& z);                             // SQ
ComplexResult square_root(const Complex& z);                        // principal root
RealResult abs(const Complex& z);                                   // ABS, the modulus
RealResult arg(const Complex& z, AngleMode mode);                   // ARG in the angle mode
ComplexResult sign(const Complex& z);                               // SIGN, z/|z|

ComplexResult exp(const Complex& z);
ComplexResult ln(const Complex& z);
ComplexResult log(const Complex& z);
ComplexResult alog(const Complex& z);
ComplexResult sin(const Complex& z);
ComplexResult cos(const Complex& z);
ComplexResult tan(const Complex& z);
ComplexResult asin(const Complex& z);
ComplexResult acos(const Complex& z);
ComplexResult atan(const Complex& z);
ComplexResult sinh(const Complex& z);
ComplexResult cosh(const Complex& z);
ComplexResult tanh(const Complex& z);
ComplexResult asinh(const Complex& z);
ComplexResult acosh(const Complex& z);
ComplexResult atanh(const Complex& z);

// A polar literal (r,<theta) with theta read in the angle mode, as rectangular parts;
// multiples of a quarter turn are exact: (2,<90) in degrees is (0,2).
ComplexResult from_polar(Real modulus, Real angle, AngleMode mode);
// The polar parts (modulus, angle in the mode), for display in polar mode.
ComplexResult to_polar(const Complex& z, AngleMode mode);

}  // namespace rplrun
