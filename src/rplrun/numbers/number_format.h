// Numbers as the calculator shows them: the STD, FIX, SCI and ENG display modes with
// the fraction mark '.' or ','. Display rounding is half away from zero.
#pragma once

#include <cstdint>
#include <string>

#include "numbers/complex.h"
#include "numbers/real.h"

namespace rplrun {

enum class NumberFormat : std::uint8_t { standard, fixed, scientific, engineering };

// The coordinate modes (flags -15, -16). Complex numbers and vectors are always kept
// rectangular; in the cylindrical and spherical modes they are shown with polar parts:
// an angle in the angle mode, marked by the angle sign.
enum class CoordinateMode : std::uint8_t { rectangular, cylindrical, spherical };

// The HP character that marks a polar part: (2,\<)90), [ 2 \<)90 ].
inline constexpr unsigned char hp_angle_sign = 128;

struct DisplayMode {
  NumberFormat format = NumberFormat::standard;
  int digits = 0;            // FIX/SCI/ENG n, 0..11 (larger counts as 11)
  char fraction_mark = '.';  // ',' with flag -51 set
  // Polar parts for complex numbers (and 2- and 3-vectors) unless rectangular, their
  // angles in the angle mode.
  CoordinateMode coordinates = CoordinateMode::rectangular;
  AngleMode angle_mode = AngleMode::degrees;
  bool operator==(const DisplayMode&) const = default;
};

// STD: 12, -.5, .333333333333, 3.33333333333E-2, 1.E12. FIX 2: 1.23, 13. (0 FIX),
// 1.00E-3 when fixed notation would show no significant digit. SCI 3: 9.877E4.
// ENG 1: 4.6E3.
std::string format_real(Real x, const DisplayMode& mode);
void append_real(std::string& out, Real x, const DisplayMode& mode);

// (re,im), or (re;im) when the fraction mark is ','; in a polar mode (r,\<)theta).
std::string format_complex(const Complex& z, const DisplayMode& mode);
void append_complex(std::string& out, const Complex& z, const DisplayMode& mode);

// The value as the display shows it (RND with 12 digits): unchanged in STD.
Real round_to_display(Real x, const DisplayMode& mode);

}  // namespace rplrun
