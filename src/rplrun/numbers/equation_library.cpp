#include "numbers/equation_library.h"

#include "numbers/wide.h"

namespace rplrun {

namespace {

RealResult bad_value() { return {Real(), Condition::bad_argument_value}; }

Wide number(const char* text) { return Wide::parse(text); }
Wide whole(int n) { return Wide::from_int(n); }

// Converged when a step moved the value by less than 34 digits can still tell apart.
bool settled(Wide step, Wide value) {
  return !(number("1E-30") * value.magnitude() < step.magnitude());
}

}  // namespace

// Colebrook's equation in Fanning's form, 1/sqrt(f) = -4 log10(e/3.7D + 1.255/(Re sqrt(f))),
// solved for s = 1/sqrt(f) by substitution: the map contracts strongly for every
// turbulent Reynolds number.
RealResult fanning(Real roughness, Real reynolds) {
  if (roughness.sign() <= 0 || reynolds.sign() <= 0) return bad_value();
  const Wide re(reynolds);
  if (!(whole(2100) < re)) return (whole(16) / re).rounded();
  const Wide relative = Wide(roughness) / number("3.7");
  const Wide scale = -whole(4) / ln(whole(10));
  Wide s = whole(8);
  for (int k = 0; k < 200; ++k) {
    const Wide next = scale * ln(relative + number("1.255") * s / re);
    const bool done = settled(next - s, next);
    s = next;
    if (done) break;
  }
  return (whole(1) / (s * s)).rounded();
}

RealResult darcy(Real roughness, Real reynolds) {
  const RealResult f = fanning(roughness, reynolds);
  if (f.condition != Condition::none) return f;
  return (whole(4) * Wide(f.value)).rounded();
}

// The Dranchuk-Purvis-Robinson fit of the Standing-Katz chart: Z as a function of the
// reduced density r = 0.27 Pr/(Z Tr),
//   Z = 1 + a1 r + a2 r^2 + a5 r^5 + a7 r^2 (1 + A8 r^2) exp(-A8 r^2),
// solved for r by Newton's method on r Z(r) = 0.27 Pr/Tr from the ideal gas's density.
RealResult z_factor(Real reduced_temperature, Real reduced_pressure) {
  const Wide t(reduced_temperature);
  const Wide p(reduced_pressure);
  if (t < number("1.05") || number("3") < t || p < Wide() || number("30") < p) return bad_value();
  const Wide t3 = t * t * t;
  const Wide a1 = number("0.31506237") + number("-1.04670990") / t + number("-0.57832729") / t3;
  const Wide a2 = number("0.53530771") + number("-0.61232032") / t;
  const Wide a5 = number("-0.61232032") * number("-0.10488813") / t;
  const Wide a7 = number("0.68157001") / t3;
  const Wide a8 = number("0.68446549");
  const Wide c = number("0.27") * p / t;
  const auto z = [&](Wide r) {
    const Wide r2 = r * r;
    return whole(1) + a1 * r + a2 * r2 + a5 * r2 * r2 * r +
           a7 * r2 * (whole(1) + a8 * r2) * exp(-a8 * r2);
  };
  const auto slope = [&](Wide r) {  // dZ/dr
    const Wide r2 = r * r;
    return a1 + whole(2) * a2 * r + whole(5) * a5 * r2 * r2 +
           whole(2) * a7 * r * (whole(1) + a8 * r2 - a8 * a8 * r2 * r2) * exp(-a8 * r2);
  };
  Wide r = c;
  for (int k = 0; k < 100; ++k) {
    const Wide step = (r * z(r) - c) / (z(r) + r * slope(r));
    r = r - step;
    if (settled(step, r)) break;
  }
  return z(r).rounded();
}

// F(x) with x = C2/(lambda T): (15/pi^4) times the sum over n of
// exp(-n x)/n (x^3 + 3x^2/n + 6x/n^2 + 6/n^3), or for small x, where that sum converges
// slowly, 1 - (15/pi^4) times the integral of t^3/(e^t - 1) from 0 to x as its series in
// the Bernoulli numbers. x is kept to 12 digits, as the calculator has it.
RealResult black_body_fraction(Real wavelength, Real temperature) {
  if (wavelength.sign() <= 0 || temperature.sign() <= 0) return bad_value();
  const Wide product = (Wide(wavelength) * Wide(temperature)).twelve_digits();
  const Wide x = (number("0.01438769") / product).twelve_digits();
  const Wide pi = number("3.141592653589793238462643383279503");
  const Wide scale = whole(15) / (pi * pi * pi * pi);
  if (!(x < whole(1))) {
    Wide sum;
    for (int n = 1; n < 200; ++n) {
      const Wide k = whole(n);
      const Wide term =
          exp(-k * x) / k *
          (x * x * x + whole(3) * x * x / k + whole(6) * x / (k * k) + whole(6) / (k * k * k));
      sum = sum + term;
      if (settled(term, sum)) break;
    }
    return (scale * sum).rounded();
  }
  // B_k / k! for k = 0, 1, 2, 4, ..., 24 (the odd ones past 1 are zero), as fractions.
  struct Fraction {
    const char* numerator;
    const char* denominator;
  };
  static constexpr Fraction bernoulli[] = {
      {"1", "1"},        {"-1", "2"},
      {"1", "6"},        {"-1", "30"},
      {"1", "42"},       {"-1", "30"},
      {"5", "66"},       {"-691", "2730"},
      {"7", "6"},        {"-3617", "510"},
      {"43867", "798"},  {"-174611", "330"},
      {"854513", "138"}, {"-236364091", "2730"},
  };
  Wide integral;
  Wide factorial = whole(1);
  for (int j = 0; j < 14; ++j) {
    const int k = j < 2 ? j : 2 * (j - 1);
    if (j >= 2) factorial = factorial * whole(k - 1) * whole(k);
    const Wide b = number(bernoulli[j].numerator) / number(bernoulli[j].denominator);
    integral = integral + b * x.power(whole(k + 3)) / (whole(k + 3) * factorial);
  }
  return (whole(1) - scale * integral).rounded();
}

// n_i = 3.87E16 T^1.5 exp(-7020/T) per cubic centimetre.
RealResult silicon_intrinsic_density(Real temperature) {
  const Wide t(temperature);
  if (temperature.sign() <= 0 || whole(1685) < t) return bad_value();
  return (number("3.87E16") * t.power(number("1.5")) * exp(-whole(7020) / t)).rounded();
}

}  // namespace rplrun
