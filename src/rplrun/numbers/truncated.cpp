#include "numbers/truncated.h"

#include "numbers/decimal128.h"

namespace rplrun {

namespace {

using dec::D;

constexpr int truncated_digits = 15;
constexpr _IDEC_round toward_zero = BID_ROUNDING_TO_ZERO;

// x with at most 15 significant digits, the others dropped. The library computes each
// operation toward zero too, so the two cuts make one.
D cut15(D x) { return dec::keep_digits(x, truncated_digits, toward_zero); }

}  // namespace

// The bits of a Truncated are a decimal128's; these two convert without rounding.
struct TruncatedBits {
  static D get(Truncated x) {
    D d;
    d.w[0] = x.lo_;
    d.w[1] = x.hi_;
    return d;
  }
  static Truncated make(D d) {
    Truncated x;
    d = cut15(d);
    x.lo_ = d.w[0];
    x.hi_ = d.w[1];
    return x;
  }
};

namespace {
D of(Truncated x) { return TruncatedBits::get(x); }
Truncated cut(D d) { return TruncatedBits::make(d); }
}  // namespace

Truncated::Truncated(Real x) : lo_(x.low_bits()), hi_(x.high_bits()) {}

Truncated Truncated::ratio(int p, int q) {
  dec::Flags f = 0;
  return cut(bid128_div(dec::from_int(p), dec::from_int(q), toward_zero, &f));
}

Truncated operator+(Truncated a, Truncated b) {
  dec::Flags f = 0;
  return cut(bid128_add(of(a), of(b), toward_zero, &f));
}

Truncated operator-(Truncated a, Truncated b) {
  dec::Flags f = 0;
  return cut(bid128_sub(of(a), of(b), toward_zero, &f));
}

Truncated operator*(Truncated a, Truncated b) {
  dec::Flags f = 0;
  return cut(bid128_mul(of(a), of(b), toward_zero, &f));
}

Truncated operator/(Truncated a, Truncated b) {
  dec::Flags f = 0;
  return cut(bid128_div(of(a), of(b), toward_zero, &f));
}

Truncated Truncated::operator-() const { return cut(bid128_negate(of(*this))); }

bool Truncated::is_zero() const { return dec::is_zero(of(*this)); }

Truncated Truncated::magnitude() const { return cut(bid128_abs(of(*this))); }

bool operator<(Truncated a, Truncated b) { return dec::less(of(a), of(b)); }

RealResult Truncated::rounded() const { return dec::round12(of(*this), 0); }

}  // namespace rplrun
