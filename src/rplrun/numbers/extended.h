// Extended reals: the 15-digit intermediates the calculator keeps inside sums of products
// (DOT, matrix products, norms) and matrix factorizations (DET, INV, / on matrices).
// Each operation is computed by the decimal library and rounded to 15 significant digits,
// halves away from zero; the exponent range is the library's, so intermediates never
// overflow. A result becomes a Real by one rounding to 12 digits (rounded()).
#pragma once

#include <cstdint>

#include "numbers/complex.h"
#include "numbers/real.h"

namespace rplrun {

class Extended {
 public:
  Extended() = default;  // zero
  explicit Extended(Real x);

  friend Extended operator+(Extended a, Extended b);
  friend Extended operator-(Extended a, Extended b);
  friend Extended operator*(Extended a, Extended b);
  friend Extended operator/(Extended a, Extended b);  // the divisor is not zero
  Extended operator-() const;

  bool is_zero() const;
  bool is_integer() const;
  friend bool operator<(Extended a, Extended b);
  Extended magnitude() const;        // |x|
  Extended nearest_integer() const;  // halves away from zero
  // The value as a 12-digit Real, brought into range, with the condition that arose.
  RealResult rounded() const;

 private:
  friend struct ExtendedBits;
  std::uint64_t lo_ = 0;
  std::uint64_t hi_ = 0x3040000000000000ULL;  // +0, exponent 0
};

Extended square_root(Extended x);  // x >= 0
Extended ln(Extended x);           // x > 0
Extended exp(Extended x);          // within the library's range

// A complex number of two extended parts; the products and quotients follow the usual
// formulas, each step rounded to 15 digits.
struct ExtendedComplex {
  Extended re;
  Extended im;

  ExtendedComplex() = default;
  ExtendedComplex(Extended r, Extended i) : re(r), im(i) {}
  explicit ExtendedComplex(const Complex& z) : re(z.re), im(z.im) {}

  friend ExtendedComplex operator+(const ExtendedComplex& a, const ExtendedComplex& b);
  friend ExtendedComplex operator-(const ExtendedComplex& a, const ExtendedComplex& b);
  friend ExtendedComplex operator*(const ExtendedComplex& a, const ExtendedComplex& b);
  friend ExtendedComplex operator/(const ExtendedComplex& a, const ExtendedComplex& b);
  ExtendedComplex operator-() const { return {-re, -im}; }

  bool is_zero() const { return re.is_zero() && im.is_zero(); }
  bool is_integer() const { return re.is_integer() && im.is_integer(); }
  Extended magnitude() const;  // the modulus
  ComplexResult rounded() const;
};

}  // namespace rplrun
