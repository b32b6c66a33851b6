#include "numbers/wide.h"

#include <string>

#include "numbers/decimal128.h"

namespace rplrun {

struct WideBits {
  static dec::D get(Wide x) {
    dec::D d;
    d.w[0] = x.lo_;
    d.w[1] = x.hi_;
    return d;
  }
  static Wide make(dec::D d) {
    Wide x;
    x.lo_ = d.w[0];
    x.hi_ = d.w[1];
    return x;
  }
};

namespace {
dec::D of(Wide x) { return WideBits::get(x); }
Wide wide(dec::D d) { return WideBits::make(d); }
}  // namespace

Wide::Wide(Real x) : lo_(x.low_bits()), hi_(x.high_bits()) {}

Wide Wide::from_int(int n) { return wide(dec::from_int(n)); }

Wide Wide::parse(std::string_view text) {
  std::string copy(text);
  dec::Flags f = 0;
  return wide(bid128_from_string(copy.data(), dec::nearest, &f));
}

Wide operator+(Wide a, Wide b) {
  dec::Flags f = 0;
  return wide(bid128_add(of(a), of(b), dec::nearest, &f));
}
Wide operator-(Wide a, Wide b) {
  dec::Flags f = 0;
  return wide(bid128_sub(of(a), of(b), dec::nearest, &f));
}
Wide operator*(Wide a, Wide b) {
  dec::Flags f = 0;
  return wide(bid128_mul(of(a), of(b), dec::nearest, &f));
}
Wide operator/(Wide a, Wide b) {
  dec::Flags f = 0;
  return wide(bid128_div(of(a), of(b), dec::nearest, &f));
}

Wide Wide::operator-() const { return wide(bid128_negate(of(*this))); }

bool operator<(Wide a, Wide b) {
  dec::Flags f = 0;
  return bid128_quiet_less(of(a), of(b), &f) != 0;
}

Wide Wide::magnitude() const { return wide(bid128_abs(of(*this))); }

Wide Wide::power(Wide e) const {
  dec::Flags f = 0;
  return wide(bid128_pow(of(*this), of(e), dec::nearest, &f));
}

RealResult Wide::rounded() const { return dec::round12(of(*this), 0); }

Wide square_root(Wide x) {
  dec::Flags f = 0;
  return wide(bid128_sqrt(of(x), dec::nearest, &f));
}

Wide ln(Wide x) {
  dec::Flags f = 0;
  return wide(bid128_log(of(x), dec::nearest, &f));
}

Wide exp(Wide x) {
  dec::Flags f = 0;
  return wide(bid128_exp(of(x), dec::nearest, &f));
}

}  // namespace rplrun
