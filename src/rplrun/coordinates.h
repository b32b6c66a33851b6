// The calculator's coordinate modes (flags -15, -16). Complex numbers and vectors are
// always kept rectangular; in the cylindrical and spherical modes they are shown, and
// may be typed, with polar parts: an angle in the angle mode, marked by the angle sign.
#pragma once

#include <cstdint>

#include "rplrun/real.h"

namespace rplrun {

// The HP character that marks a polar part: (2,\<)90), [ 2 \<)90 ].
inline constexpr unsigned char hp_angle_sign = 128;

enum class CoordinateMode : std::uint8_t { rectangular, cylindrical, spherical };

// Three parts of a vector: x y z, or r theta phi.
struct Vector3Result {
  Real a;
  Real b;
  Real c;
  Condition condition = Condition::none;
};

// [x y z] as (r, theta, phi): theta the angle from the x axis in the xy plane, phi the
// angle from the z axis, both in the angle mode and 0 where undefined.
Vector3Result to_spherical(Real x, Real y, Real z, AngleMode mode);
// (r, theta, phi) as [x y z]; quarter turns are exact in degrees and grads.
Vector3Result from_spherical(Real r, Real theta, Real phi, AngleMode mode);

}  // namespace rplrun
