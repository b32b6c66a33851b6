// The calculator's real functions. Each is computed at 34 digits and rounded once to 12;
// the argument order is the stack order (level 2 first): divide(x, y) is x/y,
// power(x, y) is x^y, xroot(y, x) is the x-th root of y, mod(x, y) is x MOD y.
//
// Functions that may leave the real domain return a NumberResult: -9 sqrt is (0,3),
// -2 LN is (ln 2, pi). Their complex results are in radians whatever the angle mode.
#pragma once

#include <cstdint>

#include "numbers/complex.h"
#include "numbers/real.h"

namespace rplrun {

Real negate(Real x);                         // NEG
Real abs(Real x);                            // ABS
Real sign(Real x);                           // SIGN: -1, 0 or 1
Real ip(Real x);                             // IP, toward zero
Real fp(Real x);                             // FP, with the sign of x
Real floor(Real x);                          // FLOOR
Real ceil(Real x);                           // CEIL
Real min(Real a, Real b);                    // MIN
Real max(Real a, Real b);                    // MAX
Real mantissa(Real x);                       // MANT: 1.2345 for 12345
Real xpon(Real x);                           // XPON: 4 for 12345

RealResult add(Real a, Real b);              // +
RealResult subtract(Real a, Real b);         // -
RealResult multiply(Real a, Real b);         // *
RealResult divide(Real a, Real b);           // /: 1/0 infinite result, 0/0 undefined
// The same four for hot loops: the value comes back in registers, and a condition, when
// one arises, is stored in `condition` (left untouched otherwise).
Real add(Real a, Real b, Condition& condition);
Real subtract(Real a, Real b, Condition& condition);
Real multiply(Real a, Real b, Condition& condition);
Real divide(Real a, Real b, Condition& condition);

RealResult inverse(Real x);                  // INV
RealResult square(Real x);                   // SQ
RealResult mod(Real x, Real y);              // MOD, with the sign of y; x MOD 0 is x
RealResult percent(Real x, Real y);          // %: x*y/100
RealResult percent_total(Real x, Real y);    // %T: 100*y/x
RealResult percent_change(Real x, Real y);   // %CH: 100*(y-x)/x

// RND and TRNC: n from 0 to 11 keeps n decimals, n from -1 to -11 keeps -n significant
// digits (12345.678 -3 RND is 12300); any other n is a bad argument value. (n = 12,
// "as displayed", is round_to_display in number_format.h.)
RealResult rnd(Real x, Real n);
RealResult trnc(Real x, Real n);

NumberResult power(Real x, Real y);          // ^: complex for a negative x and fractional y
NumberResult square_root(Real x);            // √
NumberResult xroot(Real y, Real x);          // XROOT: -8 3 XROOT is -2
RealResult factorial(Real x);                // ! and FACT: gamma(x+1) for non-integers
RealResult comb(Real n, Real k);             // COMB
RealResult perm(Real n, Real k);             // PERM

RealResult exp(Real x);
RealResult expm(Real x);                     // EXPM: e^x - 1
NumberResult ln(Real x);                     // 0 LN: infinite result, -MAXR
NumberResult log(Real x);
RealResult alog(Real x);                     // 10^x
RealResult lnp1(Real x);                     // LNP1: ln(1+x), real only

RealResult sin(Real x, AngleMode mode);      // exact at multiples of a quarter turn
RealResult cos(Real x, AngleMode mode);
RealResult tan(Real x, AngleMode mode);      // 90 TAN in degrees: infinite result
NumberResult asin(Real x, AngleMode mode);   // complex (in radians) beyond [-1,1]
NumberResult acos(Real x, AngleMode mode);
RealResult atan(Real x, AngleMode mode);
RealResult sinh(Real x);
RealResult cosh(Real x);
RealResult tanh(Real x);
RealResult asinh(Real x);
NumberResult acosh(Real x);                  // complex below 1
NumberResult atanh(Real x);                  // complex beyond [-1,1]; +-1 infinite result
RealResult deg_to_rad(Real x);               // D->R, with the 34-digit pi
RealResult rad_to_deg(Real x);               // R->D

}  // namespace rplrun
