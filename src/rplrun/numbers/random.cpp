#include "numbers/random.h"

namespace rplrun {
namespace {

constexpr std::uint64_t modulus = 1'000'000'000'000'000ULL;  // 10^15
constexpr std::uint64_t multiplier = 2851130928467ULL;

int digit_count(std::uint64_t n) {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

}  // namespace

Real RandomGenerator::next() {
  seed_ = static_cast<std::uint64_t>(static_cast<unsigned __int128>(seed_) * multiplier % modulus);
  // seed/10^15, truncated (not rounded) to 12 significant digits
  std::uint64_t c = seed_;
  int exponent = -15;
  for (int d = digit_count(c); d > 12; --d) {
    c /= 10;
    ++exponent;
  }
  return Real::from_decimal(false, c, exponent).value;
}

void RandomGenerator::seed(Real x) {
  if (x.is_zero()) return;
  // The 12 mantissa digits, then the exponent plus one in two digits, then 1: 123 gives
  // 123000000000031 as on the calculator. Only that case is recorded; negative exponents
  // are taken modulo 100 and the sign is ignored.
  const Real::Decimal d = x.decimal();
  std::uint64_t mantissa = d.coefficient;
  while (mantissa < 100'000'000'000ULL) mantissa *= 10;
  const int exponent_digits = ((x.exponent() + 1) % 100 + 100) % 100;
  seed_ = mantissa * 1000 + static_cast<std::uint64_t>(exponent_digits) * 10 + 1;
}

void RandomGenerator::seed_from_clock(std::uint64_t clock) {
  const Real r = Real::from_uint64(clock % 1'000'000'000'000ULL);
  seed(r.is_zero() ? Real::from_int64(1) : r);
}

}  // namespace rplrun
