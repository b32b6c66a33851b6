#include "numbers/coordinates.h"

#include "numbers/decimal128.h"

namespace rplrun {

namespace {

using dec::D;

TripleResult finish(const std::array<D, 3>& parts, dec::Flags f) {
  TripleResult out;
  for (std::size_t k = 0; k < 3; ++k) {
    const RealResult r = dec::round12(parts[k], f);
    out.values[k] = r.value;
    out.condition = worse(out.condition, r.condition);
  }
  return out;
}

D angle(D y, D x, AngleMode mode, dec::Flags& f) {
  if (dec::is_zero(y) && dec::is_zero(x)) return dec::from_int(0);
  return dec::from_radians(bid128_atan2(y, x, dec::nearest, &f), mode, f);
}

}  // namespace

TripleResult from_spherical(Real r, Real theta, Real phi, AngleMode mode) {
  dec::Flags f = 0;
  const dec::SinCos t = dec::sincos(theta, mode, f);
  const dec::SinCos p = dec::sincos(phi, mode, f);
  const D rho = bid128_mul(dec::of(r), p.sin, dec::nearest, &f);
  return finish({bid128_mul(rho, t.cos, dec::nearest, &f), bid128_mul(rho, t.sin, dec::nearest, &f),
                 bid128_mul(dec::of(r), p.cos, dec::nearest, &f)},
                f);
}

TripleResult to_spherical(Real x, Real y, Real z, AngleMode mode) {
  dec::Flags f = 0;
  const D rho = bid128_hypot(dec::of(x), dec::of(y), dec::nearest, &f);
  return finish({bid128_hypot(rho, dec::of(z), dec::nearest, &f),
                 angle(dec::of(y), dec::of(x), mode, f), angle(rho, dec::of(z), mode, f)},
                f);
}

}  // namespace rplrun
