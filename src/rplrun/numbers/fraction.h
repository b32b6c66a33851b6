// Reals as fractions (\->Q and \->Q\pi): the first convergent of the real's continued
// fraction that the display shows as it shows the real, so that the precision follows
// the display mode.
#pragma once

#include "numbers/number_format.h"
#include "numbers/real.h"

namespace rplrun {

struct Fraction {
  Real numerator;    // with the sign of the real
  Real denominator;  // positive; 1 for an integer
};

Fraction to_fraction(Real x, const DisplayMode& mode);

// x/pi with the 34-digit pi, rounded once to 12 digits.
Real divide_by_pi(Real x);

}  // namespace rplrun
