// The calculator's random number generator (RAND, RDZ): a 15-digit seed S becomes
// S x 2851130928467 mod 10^15 at each draw, and the number drawn is S/10^15 truncated to
// 12 significant digits.
#pragma once

#include <cstdint>

#include "numbers/real.h"

namespace rplrun {

class RandomGenerator {
 public:
  static constexpr std::uint64_t initial_seed = 999500333083533ULL;  // after a memory reset

  Real next();  // RAND
  // RDZ with a non-zero argument: the seed is its 12 mantissa digits, then two digits
  // from its exponent, then 1 (123 gives 123000000000031). Zero is the caller's choice of
  // clock: seed_from_clock.
  void seed(Real x);
  void seed_from_clock(std::uint64_t clock);
  std::uint64_t state() const { return seed_; }

 private:
  std::uint64_t seed_ = initial_seed;
};

}  // namespace rplrun
