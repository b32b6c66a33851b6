// Private to the number modules: Intel's decimal library and the one place where a
// 34-digit decimal128 becomes a 12-digit Real.
#pragma once

// The library is used in its "by value, explicit rounding and flags" configuration,
// the one libbidgcc000.a is built with.
#define DECIMAL_CALL_BY_REFERENCE 0
#define DECIMAL_GLOBAL_ROUNDING 0
#define DECIMAL_GLOBAL_EXCEPTION_FLAGS 0
#include <bid_conf.h>
#include <bid_functions.h>

#include <cstdint>

#include "numbers/real.h"

namespace rplrun::dec {

using D = BID_UINT128;
using Flags = _IDEC_flags;

constexpr _IDEC_round nearest = BID_ROUNDING_TO_NEAREST;
constexpr int exponent_bias = 6176;
constexpr std::uint64_t sign_bit = 1ULL << 63;
constexpr std::uint64_t steering_bits = 3ULL << 61;  // both set: infinity, NaN
constexpr std::uint64_t high_coefficient_bits = (1ULL << 49) - 1;
constexpr std::uint64_t twelve_digits = 1'000'000'000'000ULL;  // 10^12

inline D of(Real x) {
  D d;
  d.w[0] = x.low_bits();
  d.w[1] = x.high_bits();
  return d;
}

// +-coefficient x 10^exponent, exactly; the exponent must be within the library's range.
inline D make(bool negative, std::uint64_t coefficient, int exponent) {
  D d;
  d.w[0] = coefficient;
  d.w[1] = (negative ? sign_bit : 0) |
           (static_cast<std::uint64_t>(exponent + exponent_bias) << 49);
  return d;
}

inline D from_int(int n) { return bid128_from_int32(n); }

RealResult round12_slow(D x, Flags flags);

// A 34-digit result as a Real: rounded once to 12 digits (halves away from zero),
// brought into range, the library's flags turned into a condition. The common case, a
// coefficient that already fits and an exponent well inside the range, costs a few
// comparisons.
inline RealResult round12(D x, Flags flags) {
  const std::uint64_t hi = x.w[1];
  const std::uint64_t lo = x.w[0];
  if ((hi & steering_bits) != steering_bits && (hi & high_coefficient_bits) == 0 &&
      lo - 1 < twelve_digits - 1) {
    const int biased = static_cast<int>((hi >> 49) & 0x3FFF);
    // With a coefficient of at most 12 digits, exponents -499..488 keep the first digit
    // within -499..499.
    if (biased >= exponent_bias - 499 && biased <= exponent_bias + 488)
      return {Real::from_bits(lo, hi)};
  }
  return round12_slow(x, flags);
}

// 34-digit intermediates for the formulas of the transcendental and complex
// functions; the flags of every step collect in the owner's Flags.
struct W {
  D d;
  Flags* f;
};
inline W operator+(W a, W b) { return {bid128_add(a.d, b.d, nearest, a.f), a.f}; }
inline W operator-(W a, W b) { return {bid128_sub(a.d, b.d, nearest, a.f), a.f}; }
inline W operator*(W a, W b) { return {bid128_mul(a.d, b.d, nearest, a.f), a.f}; }
inline W operator/(W a, W b) { return {bid128_div(a.d, b.d, nearest, a.f), a.f}; }
inline W operator-(W a) { return {bid128_negate(a.d), a.f}; }

bool is_zero(D x);
// x with at most `digits` significant digits, the others rounded off in `mode`: the
// calculator's 15-digit intermediates (infinities, NaNs and zeros unchanged).
D keep_digits(D x, int digits, _IDEC_round mode);
bool is_negative(D x);  // the sign bit: -0 counts
bool less(D a, D b);
bool equal(D a, D b);

// pi to 34 digits, for the functions that use it internally.
D pi34();

// sin and cos at 34 digits of an angle given in units of which half_turn make half a
// turn (180 degrees, 200 grads, 1 for multiples of pi), reduced exactly, so that
// multiples of a quarter turn give exact zeros and ones.
struct SinCos {
  D sin;
  D cos;
};
SinCos sincos_turns(D angle, D half_turn, Flags& f);
// The same for an angle read in an angle mode.
SinCos sincos(Real angle, AngleMode mode, Flags& f);
// The size of half a turn in a mode, and a radian angle turned into that mode.
D half_turn(AngleMode mode);
D from_radians(D angle, AngleMode mode, Flags& f);

}  // namespace rplrun::dec
