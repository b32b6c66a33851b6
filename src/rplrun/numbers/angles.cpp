// Angles at 34 digits: exact reduction of degrees, grads and multiples of pi, so that
// 180 SIN is 0 and 90 COS is 0 in degrees, as on the calculator.
#include "numbers/decimal128.h"

namespace rplrun::dec {

D half_turn(AngleMode mode) {
  switch (mode) {
    case AngleMode::degrees: return from_int(180);
    case AngleMode::grads: return from_int(200);
    case AngleMode::radians: break;
  }
  return pi34();
}

D from_radians(D angle, AngleMode mode, Flags& f) {
  if (mode == AngleMode::radians) return angle;
  return bid128_div(bid128_mul(angle, half_turn(mode), nearest, &f), pi34(), nearest, &f);
}

SinCos sincos_turns(D angle, D half, Flags& f) {
  const bool negative = is_negative(angle);
  D a = bid128_abs(angle);
  const D quarter = bid128_div(half, from_int(2), nearest, &f);
  a = bid128_fmod(a, bid128_add(half, half, nearest, &f), &f);  // exact: [0, a full turn)
  int quadrant = 0;
  while (quadrant < 3 && !less(a, quarter)) {
    a = bid128_sub(a, quarter, nearest, &f);  // exact: a keeps its last digit's place
    ++quadrant;
  }
  D s = from_int(0);
  D c = from_int(1);
  if (!is_zero(a)) {
    const D radians = bid128_div(bid128_mul(a, pi34(), nearest, &f), half, nearest, &f);
    s = bid128_sin(radians, nearest, &f);
    c = bid128_cos(radians, nearest, &f);
  }
  SinCos r{s, c};
  switch (quadrant) {
    case 1: r = {c, bid128_negate(s)}; break;
    case 2: r = {bid128_negate(s), bid128_negate(c)}; break;
    case 3: r = {bid128_negate(c), s}; break;
    default: break;
  }
  if (negative) r.sin = bid128_negate(r.sin);
  return r;
}

SinCos sincos(Real angle, AngleMode mode, Flags& f) {
  if (mode == AngleMode::radians)
    return {bid128_sin(of(angle), nearest, &f), bid128_cos(of(angle), nearest, &f)};
  return sincos_turns(of(angle), half_turn(mode), f);
}

}  // namespace rplrun::dec
