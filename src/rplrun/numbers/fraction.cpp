#include "numbers/fraction.h"

#include "numbers/decimal128.h"
#include "numbers/real_functions.h"

namespace rplrun {

namespace {
// Far more terms than any 12-digit real needs.
constexpr int max_terms = 64;
}  // namespace

Fraction to_fraction(Real x, const DisplayMode& mode) {
  using dec::D;
  dec::Flags f = 0;
  const bool negative = x.is_negative();
  const std::string shown = format_real(abs(x), mode);
  auto real = [&](D d) { return dec::round12(d, f).value; };
  auto result = [&](D h, D k) {
    const Real numerator = real(h);
    return Fraction{negative ? negate(numerator) : numerator, real(k)};
  };
  const D one = dec::from_int(1);
  D y = bid128_abs(dec::of(x));
  // Convergents h/k: h(n) = a(n) h(n-1) + h(n-2), likewise k.
  D h_before = dec::from_int(0);
  D h = one;
  D k_before = one;
  D k = dec::from_int(0);
  for (int term = 0; term < max_terms; ++term) {
    const D a = bid128_round_integral_negative(y, &f);
    const D h_next = bid128_add(bid128_mul(a, h, dec::nearest, &f), h_before, dec::nearest, &f);
    const D k_next = bid128_add(bid128_mul(a, k, dec::nearest, &f), k_before, dec::nearest, &f);
    h_before = h;
    h = h_next;
    k_before = k;
    k = k_next;
    if (format_real(real(bid128_div(h, k, dec::nearest, &f)), mode) == shown) break;
    const D rest = bid128_sub(y, a, dec::nearest, &f);
    if (dec::is_zero(rest)) break;
    y = bid128_div(one, rest, dec::nearest, &f);
  }
  return result(h, k);
}

Real divide_by_pi(Real x) {
  dec::Flags f = 0;
  return dec::round12(bid128_div(dec::of(x), dec::pi34(), dec::nearest, &f), f).value;
}

}  // namespace rplrun
