#include "numbers/extended.h"

#include "numbers/decimal128.h"

namespace rplrun {

namespace {

using dec::D;

constexpr int extended_digits = 15;

// x with at most 15 significant digits, halves away from zero.
D round15(D x) { return dec::keep_digits(x, extended_digits, BID_ROUNDING_TIES_AWAY); }

}  // namespace

// The bits of an Extended are a decimal128's; these two convert without rounding.
struct ExtendedBits {
  static D get(Extended x) {
    D d;
    d.w[0] = x.lo_;
    d.w[1] = x.hi_;
    return d;
  }
  static Extended make(D d) {
    Extended x;
    d = round15(d);
    x.lo_ = d.w[0];
    x.hi_ = d.w[1];
    return x;
  }
};

namespace {
D of(Extended x) { return ExtendedBits::get(x); }
Extended ext(D d) { return ExtendedBits::make(d); }
}  // namespace

Extended::Extended(Real x) : lo_(x.low_bits()), hi_(x.high_bits()) {}

Extended operator+(Extended a, Extended b) {
  dec::Flags f = 0;
  return ext(bid128_add(of(a), of(b), dec::nearest, &f));
}

Extended operator-(Extended a, Extended b) {
  dec::Flags f = 0;
  return ext(bid128_sub(of(a), of(b), dec::nearest, &f));
}

Extended operator*(Extended a, Extended b) {
  dec::Flags f = 0;
  return ext(bid128_mul(of(a), of(b), dec::nearest, &f));
}

Extended operator/(Extended a, Extended b) {
  dec::Flags f = 0;
  return ext(bid128_div(of(a), of(b), dec::nearest, &f));
}

Extended Extended::operator-() const { return ext(bid128_negate(of(*this))); }

bool Extended::is_zero() const { return dec::is_zero(of(*this)); }

bool Extended::is_integer() const {
  dec::Flags f = 0;
  return dec::equal(bid128_round_integral_zero(of(*this), &f), of(*this));
}

bool operator<(Extended a, Extended b) { return dec::less(of(a), of(b)); }

Extended Extended::magnitude() const { return ext(bid128_abs(of(*this))); }

Extended Extended::nearest_integer() const {
  dec::Flags f = 0;
  return ext(bid128_round_integral_nearest_away(of(*this), &f));
}

RealResult Extended::rounded() const { return dec::round12(of(*this), 0); }

Extended square_root(Extended x) {
  dec::Flags f = 0;
  return ext(bid128_sqrt(of(x), dec::nearest, &f));
}

Extended ln(Extended x) {
  dec::Flags f = 0;
  return ext(bid128_log(of(x), dec::nearest, &f));
}

Extended exp(Extended x) {
  dec::Flags f = 0;
  return ext(bid128_exp(of(x), dec::nearest, &f));
}

ExtendedComplex operator+(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re + b.re, a.im + b.im};
}

ExtendedComplex operator-(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re - b.re, a.im - b.im};
}

ExtendedComplex operator*(const ExtendedComplex& a, const ExtendedComplex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

ExtendedComplex operator/(const ExtendedComplex& a, const ExtendedComplex& b) {
  const Extended norm = b.re * b.re + b.im * b.im;
  return {(a.re * b.re + a.im * b.im) / norm, (a.im * b.re - a.re * b.im) / norm};
}

Extended ExtendedComplex::magnitude() const { return square_root(re * re + im * im); }

ComplexResult ExtendedComplex::rounded() const {
  const RealResult r = re.rounded();
  const RealResult i = im.rounded();
  return {{r.value, i.value}, worse(r.condition, i.condition)};
}

}  // namespace rplrun
