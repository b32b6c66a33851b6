#include "numbers/distributions.h"

#include <algorithm>
#include <cmath>
#include <optional>

// Boost.Math computes in doubles only (no promotion to long double, whose precision
// differs between processors and emulators) and reports domain errors by a NaN, which
// the callers below never cause: they check the arguments first.
#define BOOST_MATH_PROMOTE_DOUBLE_POLICY false
#define BOOST_MATH_DOMAIN_ERROR_POLICY errno_on_error
#define BOOST_MATH_POLE_ERROR_POLICY errno_on_error
#define BOOST_MATH_OVERFLOW_ERROR_POLICY errno_on_error
#define BOOST_MATH_EVALUATION_ERROR_POLICY errno_on_error
#define BOOST_MATH_ROUNDING_ERROR_POLICY errno_on_error
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "numbers/decimal128.h"

namespace rplrun {

namespace {

using dec::D;
using dec::W;

constexpr RealResult bad_value{Real(), Condition::bad_argument_value};

RealResult from_double(double x) {
  if (!std::isfinite(x)) return bad_value;
  dec::Flags f = 0;
  const D d = binary64_to_bid128(x, dec::nearest, &f);
  return dec::round12(d, 0);
}

// Degrees of freedom: the nearest integer, which must be positive.
std::optional<double> degrees_of_freedom(Real n) {
  if (n.int64_nearest() < 1) return std::nullopt;
  const double value = std::round(n.to_double());
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

RealResult probability(double p) { return from_double(std::clamp(p, 0.0, 1.0)); }

const RealResult one{Real::from_int64(1)};

// (x - mean) / sqrt(2 variance) at 34 digits, or nothing for a variance that is not
// positive.
std::optional<W> standardized(Real mean, Real variance, Real x, dec::Flags& f) {
  if (variance.sign() <= 0) return std::nullopt;
  const W two{dec::from_int(2), &f};
  const W scale{bid128_sqrt((two * W{dec::of(variance), &f}).d, dec::nearest, &f), &f};
  return (W{dec::of(x), &f} - W{dec::of(mean), &f}) / scale;
}

}  // namespace

RealResult upper_tail_chi_square(Real degrees, Real x) {
  const std::optional<double> n = degrees_of_freedom(degrees);
  if (!n) return bad_value;
  if (x.sign() <= 0) return one;
  const double half = x.to_double() / 2;
  if (!std::isfinite(half)) return {Real()};
  return probability(boost::math::gamma_q(*n / 2, half));
}

RealResult upper_tail_f(Real numerator, Real denominator, Real x) {
  const std::optional<double> n1 = degrees_of_freedom(numerator);
  const std::optional<double> n2 = degrees_of_freedom(denominator);
  if (!n1 || !n2) return bad_value;
  if (x.sign() <= 0) return one;
  const double scaled = *n1 * x.to_double();
  if (!std::isfinite(scaled)) return {Real()};
  // As for UTPT: whichever argument of the beta function is below one half.
  const double x_small = scaled / (scaled + *n2);
  return probability(x_small < 0.5 ? boost::math::ibetac(*n1 / 2, *n2 / 2, x_small)
                                   : boost::math::ibeta(*n2 / 2, *n1 / 2, *n2 / (scaled + *n2)));
}

RealResult upper_tail_t(Real degrees, Real x) {
  const std::optional<double> n = degrees_of_freedom(degrees);
  if (!n) return bad_value;
  const double t = x.to_double();
  // Half the two-sided tail beyond |t|; the other half of the distribution lies below 0.
  // The beta function's argument is the smaller of t^2/(n+t^2) and n/(n+t^2), which
  // doubles hold to full precision, and never 1 - the other.
  const double t2 = t * t;
  double tail = 0;
  if (std::isfinite(t2)) {
    const double x_small = t2 / (*n + t2);
    tail = x_small < 0.5 ? boost::math::ibetac(0.5, *n / 2, x_small) / 2
                         : boost::math::ibeta(*n / 2, 0.5, *n / (*n + t2)) / 2;
  }
  return probability(t >= 0 ? tail : 1 - tail);
}

RealResult upper_tail_normal(Real mean, Real variance, Real x) {
  dec::Flags f = 0;
  const std::optional<W> z = standardized(mean, variance, x, f);
  if (!z) return bad_value;
  const W half{bid128_div(dec::from_int(1), dec::from_int(2), dec::nearest, &f), &f};
  const W tail{bid128_erfc(z->d, dec::nearest, &f), &f};
  return dec::round12((half * tail).d, f);
}

RealResult normal_density(Real mean, Real variance, Real x) {
  dec::Flags f = 0;
  const std::optional<W> z = standardized(mean, variance, x, f);
  if (!z) return bad_value;
  // exp(-z^2) / sqrt(2 pi variance)
  const W two{dec::from_int(2), &f};
  const W pi{dec::pi34(), &f};
  const W root{bid128_sqrt((two * pi * W{dec::of(variance), &f}).d, dec::nearest, &f), &f};
  const W density{bid128_exp((-(*z * *z)).d, dec::nearest, &f), &f};
  return dec::round12((density / root).d, f);
}

}  // namespace rplrun
