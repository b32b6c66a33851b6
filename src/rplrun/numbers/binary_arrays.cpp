#include "numbers/binary_arrays.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rplrun::binary_arrays {

Ld to_binary(Real x) {
  const Real::Decimal d = x.decimal();
  char text[48];
  std::snprintf(text, sizeof text, "%s%llue%d", d.negative ? "-" : "",
                static_cast<unsigned long long>(d.coefficient), d.exponent);
  return std::strtold(text, nullptr);
}

RealResult to_real(Ld x) {
  if (std::isnan(x)) return {Real(), Condition::undefined_result};
  if (std::isinf(x)) return Real::from_decimal(x < 0, 1, 1000);
  if (x == 0) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%.17Le", x);
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  std::uint64_t coefficient = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') coefficient = coefficient * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return Real::from_decimal(negative, coefficient, std::atoi(p + 1) - 17);
}

MatrixResult round_out_maybe_real(const Dense<Cx>& m, bool drop_tiny) {
  MatrixResult out = round_out(m, true, drop_tiny);
  out.value.is_complex = !std::all_of(out.value.values.begin(), out.value.values.end(),
                                      [](const Complex& z) { return z.im.is_zero(); });
  return out;
}

}  // namespace rplrun::binary_arrays
