// The probability functions of the calculator: the upper-tail probabilities of the
// chi-square, F, normal and Student's t distributions, and the normal density.
//
// Arguments in stack order (level 1 last). Degrees of freedom are rounded to the nearest
// integer and must then be positive; a variance must be positive: anything else is a
// bad argument value. The normal functions are computed at 34 digits; the others in
// binary doubles by Boost.Math's incomplete gamma and beta functions (the decimal library
// has none). Every result is rounded once to 12 digits.
#pragma once

#include "numbers/real.h"

namespace rplrun {

RealResult upper_tail_chi_square(Real degrees, Real x);             // UTPC
RealResult upper_tail_f(Real numerator, Real denominator, Real x);  // UTPF
RealResult upper_tail_normal(Real mean, Real variance, Real x);     // UTPN
RealResult upper_tail_t(Real degrees, Real x);                      // UTPT
RealResult normal_density(Real mean, Real variance, Real x);        // NDIST

}  // namespace rplrun
