// Wide decimals: 34-digit intermediates for the scale factors of unit conversions, so
// that a chain of factors (km/h to m/s, a prefix, a power) is rounded once, when it
// becomes a Real.
#pragma once

#include <string_view>

#include "numbers/real.h"

namespace rplrun {

class Wide {
 public:
  Wide() = default;  // zero
  explicit Wide(Real x);
  static Wide from_int(int n);
  // A decimal literal of the data files ("0.3048", "1E-10", ".5"), every digit kept.
  static Wide parse(std::string_view text);

  friend Wide operator+(Wide a, Wide b);
  friend Wide operator-(Wide a, Wide b);
  friend Wide operator*(Wide a, Wide b);
  friend Wide operator/(Wide a, Wide b);  // the divisor is not zero
  Wide operator-() const;
  friend bool operator<(Wide a, Wide b);
  // x^e; x > 0, or e an integer.
  Wide power(Wide e) const;
  Wide magnitude() const;  // |x|

  // Rounded once to 12 digits, brought into range.
  RealResult rounded() const;
  // Rounded to 12 digits and back: a value the calculator keeps as a real between steps.
  Wide twelve_digits() const { return Wide(rounded().value); }

 private:
  friend struct WideBits;
  std::uint64_t lo_ = 0;
  std::uint64_t hi_ = 0x3040000000000000ULL;  // +0, exponent 0
};

Wide square_root(Wide x);  // x >= 0
Wide ln(Wide x);           // x > 0
Wide exp(Wide x);          // underflows to 0

}  // namespace rplrun
