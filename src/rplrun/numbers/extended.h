// Complex numbers of extended parts: the 15-digit intermediates the calculator keeps inside
// sums of products (DOT, matrix products, norms) and matrix factorizations (DET, INV, / on
// matrices), each operation rounded halves away from zero (numbers/fifteen_digits.h).
#pragma once

#include "numbers/complex.h"
#include "numbers/fifteen_digits.h"

namespace rplrun {

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
