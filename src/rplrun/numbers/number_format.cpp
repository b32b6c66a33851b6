#include "numbers/number_format.h"

#include <algorithm>
#include <charconv>

#include "numbers/real_functions.h"

namespace rplrun {
namespace {

// The significant digits of a non-zero value, without trailing zeros, and the exponent
// of the first one.
struct Digits {
  char d[13] = {};
  int count = 0;
  int exponent = 0;
  bool negative = false;

  char at(int i) const { return i >= 0 && i < count ? d[i] : '0'; }
};

Digits digits_of(Real x) {
  const Real::Decimal dec = x.decimal();
  Digits r;
  r.negative = dec.negative;
  char buffer[20];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, dec.coefficient).ptr;
  int n = static_cast<int>(end - buffer);
  r.exponent = dec.exponent + n - 1;
  while (n > 1 && buffer[n - 1] == '0') --n;
  std::copy(buffer, buffer + n, r.d);
  r.count = n;
  return r;
}

// Keeps the first `keep` digits, rounding half away from zero; a carry out of the first
// digit raises the exponent. keep = 0 rounds to the next power of ten or to nothing
// (count 0).
void round_digits(Digits& g, int keep) {
  if (keep >= g.count) return;
  if (keep < 0) {
    g.count = 0;
    return;
  }
  const bool up = g.d[keep] >= '5';
  g.count = keep;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && g.d[i] == '9') --i;
    if (i < 0) {  // 9.99 -> 10.0, or nothing kept -> the next power of ten
      g.d[0] = '1';
      g.count = 1;
      ++g.exponent;
    } else {
      ++g.d[i];
      g.count = i + 1;
    }
  }
  while (g.count > 1 && g.d[g.count - 1] == '0') --g.count;
}

void append_exponent(std::string& out, int exponent) {
  char buffer[12];
  out += 'E';
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, exponent).ptr);
}

// d.ddd...Eexp with `shown` digits, `before_mark` of them before the mark.
void append_scientific(std::string& out, const Digits& g, int shown, int before_mark,
                       int exponent, char mark) {
  if (g.negative) out += '-';
  for (int i = 0; i < before_mark; ++i) out += g.at(i);
  out += mark;
  for (int i = before_mark; i < shown; ++i) out += g.at(i);
  append_exponent(out, exponent);
}

// Positional notation with `decimals` places and no leading zero before the mark.
void append_positional(std::string& out, const Digits& g, int decimals, bool keep_mark,
                       char mark) {
  if (g.negative) out += '-';
  for (int i = 0; i <= g.exponent; ++i) out += g.at(i);
  if (decimals > 0 || keep_mark) out += mark;
  for (int p = 1; p <= decimals; ++p) out += g.at(g.exponent + p);
}

void append_zero(std::string& out, const DisplayMode& mode, int digits) {
  switch (mode.format) {
    case NumberFormat::standard: out += '0'; return;
    case NumberFormat::fixed:
      out += '0';
      out += mode.fraction_mark;
      out.append(static_cast<std::size_t>(digits), '0');
      return;
    case NumberFormat::scientific:
    case NumberFormat::engineering:
      out += '0';
      out += mode.fraction_mark;
      out.append(static_cast<std::size_t>(digits), '0');
      out += "E0";
      return;
  }
}

void append_sci(std::string& out, Digits g, int digits, char mark) {
  round_digits(g, digits + 1);
  append_scientific(out, g, digits + 1, 1, g.exponent, mark);
}

int clamp_digits(int n) { return std::clamp(n, 0, 11); }

// FIX n shows nothing significant when the value rounded to n places is zero: the
// calculator then shows it in SCI n.
bool fixed_shows_nothing(const Digits& g, int decimals) {
  const int keep = g.exponent + decimals + 1;
  return keep < 0 || (keep == 0 && g.d[0] < '5');
}

}  // namespace

void append_real(std::string& out, Real x, const DisplayMode& mode) {
  const int n = clamp_digits(mode.digits);
  const char mark = mode.fraction_mark;
  if (x.is_zero()) {
    append_zero(out, mode, n);
    return;
  }
  Digits g = digits_of(x);
  switch (mode.format) {
    case NumberFormat::standard: {
      const int last = g.exponent - g.count + 1;
      if (g.exponent >= 12 || last < -12)
        append_scientific(out, g, g.count, 1, g.exponent, mark);
      else
        append_positional(out, g, std::max(0, -last), false, mark);
      return;
    }
    case NumberFormat::fixed: {
      if (g.exponent >= 12 || fixed_shows_nothing(g, n)) {
        append_sci(out, g, n, mark);
        return;
      }
      round_digits(g, g.exponent + n + 1);
      if (g.exponent >= 12) {  // 999999999999.5 does not occur, but keep the rule whole
        append_sci(out, g, n, mark);
        return;
      }
      // At most 12 digits are shown: FIX 11 of 123456.789 is 123456.789000.
      append_positional(out, g, std::min(n, 11 - g.exponent), true, mark);
      return;
    }
    case NumberFormat::scientific: append_sci(out, g, n, mark); return;
    case NumberFormat::engineering: {
      round_digits(g, n + 1);
      const int exponent = g.exponent >= 0 ? g.exponent / 3 * 3 : -((2 - g.exponent) / 3 * 3);
      const int before_mark = g.exponent - exponent + 1;
      append_scientific(out, g, std::max(n + 1, before_mark), before_mark, exponent, mark);
      return;
    }
  }
}

std::string format_real(Real x, const DisplayMode& mode) {
  std::string s;
  append_real(s, x, mode);
  return s;
}

void append_complex(std::string& out, const Complex& z, const DisplayMode& mode) {
  const bool polar = mode.coordinates != CoordinateMode::rectangular;
  const Complex parts = polar ? to_polar(z, mode.angle_mode).value : z;
  out += '(';
  append_real(out, parts.re, mode);
  out += mode.fraction_mark == ',' ? ';' : ',';
  if (polar) out += static_cast<char>(hp_angle_sign);
  append_real(out, parts.im, mode);
  out += ')';
}

std::string format_complex(const Complex& z, const DisplayMode& mode) {
  std::string s;
  append_complex(s, z, mode);
  return s;
}

Real round_to_display(Real x, const DisplayMode& mode) {
  const int n = clamp_digits(mode.digits);
  if (x.is_zero() || mode.format == NumberFormat::standard) return x;
  const Real significant = Real::from_int64(-(n + 1));
  if (mode.format == NumberFormat::fixed) {
    const Digits g = digits_of(x);
    if (g.exponent < 12 && !fixed_shows_nothing(g, n)) return rnd(x, Real::from_int64(n)).value;
  }
  if (n + 1 >= 12) return x;
  return rnd(x, significant).value;
}

}  // namespace rplrun
