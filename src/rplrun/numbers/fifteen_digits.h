// Reals of 15 significant digits: the intermediates the calculator keeps inside its longer
// computations. Each operation is computed by the decimal library and cut to 15 digits;
// the exponent range is the library's, so intermediates never overflow. A result becomes
// a Real by one rounding to 12 digits, halves away from zero (rounded()).
//
// Two kinds differ only in how they cut: sums of products and matrix factorizations round
// halves away from zero (Extended), the solvers for differential equations truncate toward
// zero (Truncated).
#pragma once

#include <cstdint>

#include "numbers/real.h"

namespace rplrun {

enum class Cut { halves_away, toward_zero };

template <Cut kind>
class FifteenDigits {
 public:
  FifteenDigits() = default;  // zero
  explicit FifteenDigits(Real x) : lo_(x.low_bits()), hi_(x.high_bits()) {}
  static FifteenDigits ratio(int p, int q);  // p/q, cut

  FifteenDigits operator+(FifteenDigits b) const;
  FifteenDigits operator-(FifteenDigits b) const;
  FifteenDigits operator*(FifteenDigits b) const;
  FifteenDigits operator/(FifteenDigits b) const;  // the divisor is not zero
  FifteenDigits operator-() const;
  bool operator<(FifteenDigits b) const;

  bool is_zero() const;
  bool is_integer() const;
  FifteenDigits magnitude() const;        // |x|
  FifteenDigits nearest_integer() const;  // halves away from zero
  // The value as a 12-digit Real, brought into range, with the condition that arose.
  RealResult rounded() const;

 private:
  friend struct FifteenDigitsBits;
  std::uint64_t lo_ = 0;
  std::uint64_t hi_ = 0x3040000000000000ULL;  // +0, exponent 0
};

// Elementary functions, each result cut.
template <Cut kind>
FifteenDigits<kind> square_root(FifteenDigits<kind> x);  // x >= 0
template <Cut kind>
FifteenDigits<kind> ln(FifteenDigits<kind> x);  // x > 0
template <Cut kind>
FifteenDigits<kind> exp(FifteenDigits<kind> x);  // within the library's range

extern template class FifteenDigits<Cut::halves_away>;
extern template class FifteenDigits<Cut::toward_zero>;

using Extended = FifteenDigits<Cut::halves_away>;
using Truncated = FifteenDigits<Cut::toward_zero>;

}  // namespace rplrun
