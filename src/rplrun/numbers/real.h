// The HP48 real: 12 significant decimal digits, exponents -499..499.
//
// A Real is a 16-byte value holding a decimal128 of Intel's decimal library. Every
// operation is computed by the library at 34 digits and rounded once to 12 significant
// digits, halves away from zero; a result outside the range is brought back into it and
// the event is reported as a Condition beside the value. What a condition means for
// the program (an error, a flag, nothing) is the caller's business.
//
// Invariant: the value is +0 (one encoding) or a finite non-zero number whose
// coefficient has at most 12 digits and whose first digit's exponent is in -499..499.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rplrun {

// What happened while computing a result. The value returned beside it is the one the
// calculator keeps when the condition is not an error: +-MAXR for an overflow and for an
// infinite result (as with flag -22 set), 0 for an underflow, 0 for an undefined result
// or a bad argument value.
enum class Condition : std::uint8_t {
  none,
  underflow_positive,  // a non-zero result below 1E-499 became 0
  underflow_negative,
  overflow,            // beyond 9.99999999999E499: +-MAXR
  infinite_result,     // 1/0, LN 0, TAN 90 in degrees: +-MAXR
  undefined_result,    // 0/0
  bad_argument_value,  // outside the function's domain (RND with 20 digits ...)
};

// The more serious of two conditions (the later one in the list above), for results
// built from several parts.
constexpr Condition worse(Condition a, Condition b) { return a < b ? b : a; }

// How trigonometric functions read and return angles.
enum class AngleMode : std::uint8_t { degrees, radians, grads };

struct RealResult;

class Real {
 public:
  // The digits of a value: +-coefficient x 10^exponent. The coefficient has at most
  // 12 digits and is 0 only for zero; it may carry trailing zeros (2.50 is 250E-2).
  struct Decimal {
    bool negative = false;
    std::uint64_t coefficient = 0;
    int exponent = 0;
  };

  constexpr Real() = default;  // zero

  static Real from_int64(std::int64_t n);    // rounded to 12 digits when longer
  static Real from_uint64(std::uint64_t n);  // rounded to 12 digits when longer
  // +-coefficient x 10^exponent for any coefficient and exponent, rounded to 12 digits,
  // brought into range.
  static RealResult from_decimal(bool negative, std::uint64_t coefficient, int exponent);

  static Real max();       // MAXR, 9.99999999999E499
  static Real min();       // MINR, 1E-499
  static Real pi();        // the 12-digit object value 3.14159265359
  static Real e();         // 2.71828182846

  bool is_zero() const { return lo_ == 0; }
  bool is_negative() const { return (hi_ >> 63) != 0; }
  int sign() const { return is_zero() ? 0 : is_negative() ? -1 : 1; }
  bool is_integer() const;
  Decimal decimal() const;
  // The exponent of the first significant digit (XPON): 2 for 123, -4 for .00042, 0 for 0.
  int exponent() const;

  // Integer conversions for indices, counts, word sizes. The exact one fails unless the
  // value is an integer within int64; the others saturate at their type's range.
  std::optional<std::int64_t> exact_int64() const;
  std::int64_t int64_toward_zero() const;
  std::int64_t int64_nearest() const;    // halves away from zero
  std::uint64_t uint64_nearest() const;  // negatives give 0
  double to_double() const;              // nearest binary double, for waiting times and the like

  // The library's representation, for the number modules and benchmarks only.
  std::uint64_t low_bits() const { return lo_; }
  std::uint64_t high_bits() const { return hi_; }
  static Real from_bits(std::uint64_t lo, std::uint64_t hi) { return Real(lo, hi); }

  // Numeric comparisons (2.50 == 2.5).
  friend bool operator==(Real a, Real b);
  friend bool operator<(Real a, Real b);
  friend bool operator<=(Real a, Real b);
  friend bool operator>(Real a, Real b) { return b < a; }
  friend bool operator>=(Real a, Real b) { return b <= a; }
  friend std::strong_ordering operator<=>(Real a, Real b);

 private:
  constexpr Real(std::uint64_t lo, std::uint64_t hi) : lo_(lo), hi_(hi) {}

  // The zero encoding: coefficient 0, exponent 0 (biased 6176), positive.
  alignas(16) std::uint64_t lo_ = 0;
  std::uint64_t hi_ = 0x3040000000000000ULL;
};

struct RealResult {
  Real value;
  Condition condition = Condition::none;
};

// A real literal as the reader sees a token: an optional '-', digits with at most one
// fraction mark (at least one digit), then optionally 'E', an optional '-' and digits:
// "12", "-1.5E-3", ".5", "5.", "007", "1E12". Anything else (a '+', a lower-case 'e',
// the other fraction mark, a blank) is no real: nullopt. More than 12 significant digits
// are rounded; an exponent beyond the range gives MAXR with overflow or 0 with underflow.
std::optional<RealResult> parse_real(std::string_view text, char fraction_mark = '.');

}  // namespace rplrun
