// Truncated reals: the 15-digit intermediates of the calculator's solvers for
// differential equations. Each operation is computed by the decimal library and cut to
// 15 significant digits toward zero (the solvers' extended arithmetic truncates where
// the one of sums of products rounds); a result becomes a Real by one rounding to 12
// digits, halves away from zero.
#pragma once

#include <cstdint>

#include "numbers/real.h"

namespace rplrun {

class Truncated {
 public:
  Truncated() = default;  // zero
  explicit Truncated(Real x);
  // The fraction p/q, truncated: the methods' coefficients.
  static Truncated ratio(int p, int q);

  friend Truncated operator+(Truncated a, Truncated b);
  friend Truncated operator-(Truncated a, Truncated b);
  friend Truncated operator*(Truncated a, Truncated b);
  friend Truncated operator/(Truncated a, Truncated b);  // the divisor is not zero
  Truncated operator-() const;

  bool is_zero() const;
  Truncated magnitude() const;  // |x|
  friend bool operator<(Truncated a, Truncated b);
  // The value as a 12-digit Real, brought into range, with the condition that arose.
  RealResult rounded() const;

 private:
  friend struct TruncatedBits;
  std::uint64_t lo_ = 0;
  std::uint64_t hi_ = 0x3040000000000000ULL;  // +0, exponent 0
};

}  // namespace rplrun
