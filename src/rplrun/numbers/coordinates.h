// Vectors of three reals in spherical coordinates (r, theta, phi): theta the angle from the
// x axis in the xy plane, phi the angle from the z axis, both in the angle mode. The
// cylindrical form is the polar one of complex.h (from_polar, to_polar) with z kept.
#pragma once

#include <array>

#include "numbers/real.h"

namespace rplrun {

struct TripleResult {
  std::array<Real, 3> values;
  Condition condition = Condition::none;
};

TripleResult from_spherical(Real r, Real theta, Real phi, AngleMode mode);
// (0,0,0) is r = 0 with both angles 0; on the z axis theta is 0.
TripleResult to_spherical(Real x, Real y, Real z, AngleMode mode);

}  // namespace rplrun
