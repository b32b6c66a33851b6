#include "numbers/real.h"

#include <array>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "numbers/decimal128.h"

namespace rplrun {

// Small and cheap to copy: passed and returned in two registers.
static_assert(sizeof(Real) == 16 && std::is_trivially_copyable_v<Real>);

namespace {

using dec::D;

using Wide = unsigned __int128;

// 10^0 .. 10^34 as 128-bit integers, for counting a coefficient's digits.
constexpr std::array<Wide, 35> powers_of_ten = [] {
  std::array<Wide, 35> p{};
  Wide v = 1;
  for (auto& x : p) {
    x = v;
    v *= 10;
  }
  return p;
}();

int digit_count(Wide c) {
  int d = 1;
  while (d < 35 && c >= powers_of_ten[d]) ++d;
  return d;
}

struct Parts {
  bool negative;
  Wide coefficient;
  int exponent;
};

// The fields of a finite decimal128.
Parts parts(D x) {
  return {(x.w[1] & dec::sign_bit) != 0,
          (static_cast<Wide>(x.w[1] & dec::high_coefficient_bits) << 64) | x.w[0],
          static_cast<int>((x.w[1] >> 49) & 0x3FFF) - dec::exponent_bias};
}

constexpr std::uint64_t max_coefficient = dec::twelve_digits - 1;
constexpr int max_exponent = 499;
constexpr int min_exponent = -499;

RealResult underflow(bool negative) {
  return {Real(), negative ? Condition::underflow_negative : Condition::underflow_positive};
}

Real signed_max(bool negative) {
  return Real::from_bits(max_coefficient,
                         dec::make(negative, 0, max_exponent - 11).w[1]);
}

}  // namespace

namespace dec {

RealResult round12_slow(D x, Flags flags) {
  const std::uint64_t hi = x.w[1];
  const bool negative = (hi & sign_bit) != 0;
  if ((hi & steering_bits) == steering_bits) {
    if ((hi & (0x1FULL << 58)) == (0x1FULL << 58))  // NaN
      return {Real(), Condition::undefined_result};
    return {signed_max(negative), (flags & BID_ZERO_DIVIDE_EXCEPTION) != 0
                                      ? Condition::infinite_result
                                      : Condition::overflow};
  }
  Parts p = parts(x);
  if (p.coefficient == 0) {
    if ((flags & BID_UNDERFLOW_EXCEPTION) != 0) return underflow(negative);
    return {Real()};
  }
  int digits = digit_count(p.coefficient);
  if (digits > 12) {
    const int target = p.exponent + digits - 12;
    Flags ignored = 0;
    const Parts r =
        parts(bid128_quantize(x, make(false, 1, target), BID_ROUNDING_TIES_AWAY, &ignored));
    p.coefficient = r.coefficient;
    p.exponent = r.exponent;
    digits = 12;
    if (p.coefficient > max_coefficient) {  // 9.9999999999995 became 10.0000000000
      p.coefficient /= 10;
      ++p.exponent;
    }
  }
  const int first = p.exponent + digits - 1;
  if (first > max_exponent) return {signed_max(negative), Condition::overflow};
  if (first < min_exponent) return underflow(negative);
  const D r = make(negative, static_cast<std::uint64_t>(p.coefficient), p.exponent);
  return {Real::from_bits(r.w[0], r.w[1])};
}

bool is_zero(D x) { return bid128_isZero(x) != 0; }

D keep_digits(D x, int digits, _IDEC_round mode) {
  if ((x.w[1] & steering_bits) == steering_bits || is_zero(x)) return x;
  Flags f = 0;
  const int first = bid128_ilogb(x, &f);
  const int last = static_cast<int>((x.w[1] >> 49) & 0x3FFF) - exponent_bias;
  if (first - last < digits) return x;
  return bid128_quantize(x, make(false, 1, first - digits + 1), mode, &f);
}

bool is_negative(D x) { return (x.w[1] & sign_bit) != 0; }

bool less(D a, D b) {
  Flags f = 0;
  return bid128_quiet_less(a, b, &f) != 0;
}

bool equal(D a, D b) {
  Flags f = 0;
  return bid128_quiet_equal(a, b, &f) != 0;
}

D pi34() {
  // 3.141592653589793238462643383279503 (34 digits)
  static const D pi = [] {
    Flags f = 0;
    return bid128_from_string(const_cast<char*>("3.141592653589793238462643383279503"),
                              nearest, &f);
  }();
  return pi;
}

}  // namespace dec

RealResult Real::from_decimal(bool negative, std::uint64_t coefficient, int exponent) {
  if (coefficient == 0) return {Real()};
  // Far outside the range whatever the coefficient: keep the library's exponent range.
  if (exponent > 1000) return {signed_max(negative), Condition::overflow};
  if (exponent < -1000) return underflow(negative);
  return dec::round12(dec::make(negative, coefficient, exponent), 0);
}

Real Real::from_int64(std::int64_t n) {
  const bool negative = n < 0;
  const std::uint64_t magnitude =
      negative ? ~static_cast<std::uint64_t>(n) + 1 : static_cast<std::uint64_t>(n);
  return from_decimal(negative, magnitude, 0).value;
}

Real Real::from_uint64(std::uint64_t n) { return from_decimal(false, n, 0).value; }

Real Real::max() { return signed_max(false); }
Real Real::min() { return from_decimal(false, 1, min_exponent).value; }
Real Real::pi() { return from_decimal(false, 314159265359ULL, -11).value; }
Real Real::e() { return from_decimal(false, 271828182846ULL, -11).value; }

Real::Decimal Real::decimal() const {
  if (is_zero()) return {};
  const Parts p = parts(dec::of(*this));
  return {p.negative, static_cast<std::uint64_t>(p.coefficient), p.exponent};
}

int Real::exponent() const {
  if (is_zero()) return 0;
  const Decimal d = decimal();
  return d.exponent + digit_count(d.coefficient) - 1;
}

bool Real::is_integer() const {
  const Decimal d = decimal();
  if (d.exponent >= 0 || d.coefficient == 0) return true;
  if (d.exponent < -12) return false;  // the coefficient is below 10^12
  return d.coefficient % static_cast<std::uint64_t>(powers_of_ten[-d.exponent]) == 0;
}

std::optional<std::int64_t> Real::exact_int64() const {
  if (!is_integer()) return std::nullopt;
  dec::Flags f = 0;
  const std::int64_t n = bid128_to_int64_int(dec::of(*this), &f);
  if ((f & BID_INVALID_EXCEPTION) != 0) return std::nullopt;
  return n;
}

std::int64_t Real::int64_toward_zero() const {
  dec::Flags f = 0;
  const std::int64_t n = bid128_to_int64_int(dec::of(*this), &f);
  if ((f & BID_INVALID_EXCEPTION) == 0) return n;
  return is_negative() ? std::numeric_limits<std::int64_t>::min()
                       : std::numeric_limits<std::int64_t>::max();
}

std::int64_t Real::int64_nearest() const {
  dec::Flags f = 0;
  const std::int64_t n = bid128_to_int64_rninta(dec::of(*this), &f);
  if ((f & BID_INVALID_EXCEPTION) == 0) return n;
  return is_negative() ? std::numeric_limits<std::int64_t>::min()
                       : std::numeric_limits<std::int64_t>::max();
}

std::uint64_t Real::uint64_nearest() const {
  if (is_negative()) return 0;
  dec::Flags f = 0;
  const std::uint64_t n = bid128_to_uint64_rninta(dec::of(*this), &f);
  if ((f & BID_INVALID_EXCEPTION) == 0) return n;
  return std::numeric_limits<std::uint64_t>::max();
}

double Real::to_double() const {
  dec::Flags f = 0;
  return bid128_to_binary64(dec::of(*this), dec::nearest, &f);
}

bool operator==(Real a, Real b) { return dec::equal(dec::of(a), dec::of(b)); }
bool operator<(Real a, Real b) { return dec::less(dec::of(a), dec::of(b)); }
bool operator<=(Real a, Real b) {
  dec::Flags f = 0;
  return bid128_quiet_less_equal(dec::of(a), dec::of(b), &f) != 0;
}
std::strong_ordering operator<=>(Real a, Real b) {
  if (a < b) return std::strong_ordering::less;
  if (a == b) return std::strong_ordering::equal;
  return std::strong_ordering::greater;
}

std::optional<RealResult> parse_real(std::string_view text, char fraction_mark) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && text[i] == '-') {
    negative = true;
    ++i;
  }
  // The first 13 significant digits exactly, and whether any later one is non-zero:
  // enough to round to 12 digits as if every digit were kept.
  std::uint64_t coefficient = 0;
  int kept = 0;
  bool sticky = false;
  int exponent = 0;  // of the last kept digit
  bool any_digit = false;
  bool seen_mark = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == fraction_mark && !seen_mark) {
      seen_mark = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    any_digit = true;
    const int digit = c - '0';
    if (kept == 0 && digit == 0) {
      if (seen_mark) --exponent;  // a leading zero after the mark
      continue;
    }
    if (kept < 13) {
      coefficient = coefficient * 10 + static_cast<std::uint64_t>(digit);
      ++kept;
      if (seen_mark) --exponent;
    } else {
      sticky = sticky || digit != 0;
      if (!seen_mark) ++exponent;
    }
  }
  if (!any_digit) return std::nullopt;
  if (i < n) {
    if (text[i] != 'E') return std::nullopt;
    ++i;
    bool exponent_negative = false;
    if (i < n && text[i] == '-') {
      exponent_negative = true;
      ++i;
    }
    if (i == n) return std::nullopt;
    int written = 0;
    for (; i < n; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      if (written < 100000) written = written * 10 + (text[i] - '0');
    }
    exponent += exponent_negative ? -written : written;
  }
  if (sticky) {
    coefficient = coefficient * 10 + 1;
    --exponent;
  }
  return Real::from_decimal(negative, coefficient, exponent);
}

}  // namespace rplrun
