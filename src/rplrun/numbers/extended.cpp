#include "numbers/extended.h"

namespace rplrun {

ExtendedComplex operator+(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re + b.re, a.im + b.im};
}

ExtendedComplex operator-(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re - b.re, a.im - b.im};
}

ExtendedComplex operator*(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

ExtendedComplex operator/(const ExtendedComplex& a, const ExtendedComplex& b) {
  const Extended norm = b.re * b.re + b.im * b.im;
  return {(a.re * b.re + a.im * b.im) / norm, (a.im * b.re - a.re * b.im) / norm};
}

Extended ExtendedComplex::magnitude() const { return square_root(re * re + im * im); }

ComplexResult ExtendedComplex::rounded() const {
  const RealResult r = re.rounded();
  const RealResult i = im.rounded();
  return {{r.value, i.value}, worse(r.condition, i.condition)};
}

}  // namespace rplrun
