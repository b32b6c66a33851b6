// The equation library's functions of reals: friction factors of pipe flow, the gas
// compressibility factor, the black-body emissive power fraction and the intrinsic
// carrier density of silicon. Each is computed at 34 digits and rounded once; an
// argument outside the function's domain gives the condition bad_argument_value.
#pragma once

#include "numbers/real.h"

namespace rplrun {

// The Fanning friction factor for relative roughness e/D and Reynolds number Re (both
// positive): 16/Re for laminar flow (Re <= 2100), else the root of Colebrook's equation.
RealResult fanning(Real roughness, Real reynolds);
// The Darcy friction factor: four times Fanning's.
RealResult darcy(Real roughness, Real reynolds);

// The compressibility factor Z of a hydrocarbon gas at reduced temperature Tr
// (1.05..3) and reduced pressure Pr (0..30).
RealResult z_factor(Real reduced_temperature, Real reduced_pressure);

// The fraction of a black body's emissive power at temperature T (kelvins) radiated
// below the wavelength lambda (metres); both positive.
RealResult black_body_fraction(Real wavelength, Real temperature);

// The intrinsic carrier density of silicon, per cubic centimetre, at temperature T
// (kelvins, 0 < T <= 1685).
RealResult silicon_intrinsic_density(Real temperature);

}  // namespace rplrun
