#include "rplrun/coordinates.h"

#include "rplrun/decimal128.h"

namespace rplrun {

using dec::D;
using dec::nearest;
using dec::W;

namespace {

// The angle of the point (x, y) from the x axis, in the mode: 0 at the origin.
D angle_of(D y, D x, AngleMode mode, dec::Flags& f) {
  if (dec::is_zero(x) && dec::is_zero(y)) return dec::from_int(0);
  return dec::from_radians(bid128_atan2(y, x, nearest, &f), mode, f);
}

Vector3Result finish(D a, D b, D c, dec::Flags f) {
  const RealResult ra = dec::round12(a, f);
  const RealResult rb = dec::round12(b, f);
  const RealResult rc = dec::round12(c, f);
  return {ra.value, rb.value, rc.value,
          worse(ra.condition, worse(rb.condition, rc.condition))};
}

}  // namespace

Vector3Result to_spherical(Real x, Real y, Real z, AngleMode mode) {
  dec::Flags f = 0;
  const D dz = dec::of(z);
  const D rho = bid128_hypot(dec::of(x), dec::of(y), nearest, &f);
  const D r = bid128_hypot(rho, dz, nearest, &f);
  const D theta = angle_of(dec::of(y), dec::of(x), mode, f);
  const D phi = angle_of(rho, dz, mode, f);
  return finish(r, theta, phi, f);
}

Vector3Result from_spherical(Real r, Real theta, Real phi, AngleMode mode) {
  dec::Flags f = 0;
  const dec::SinCos t = dec::sincos(theta, mode, f);
  const dec::SinCos p = dec::sincos(phi, mode, f);
  const W wr{dec::of(r), &f};
  const W rho = wr * W{p.sin, &f};
  return finish((rho * W{t.cos, &f}).d, (rho * W{t.sin, &f}).d, (wr * W{p.cos, &f}).d, f);
}

}  // namespace rplrun
