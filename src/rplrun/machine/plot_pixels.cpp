#include "machine/plot_pixels.h"

#include <algorithm>

#include "numbers/real_functions.h"

namespace rplrun {

namespace {

constexpr std::int64_t far_pixels = 1 << 20;

// `(value - low) * (pixels - 1) / (high - low)`, to the nearest pixel.
std::int64_t scale_to_pixel(Real value, Real low, Real high, std::size_t pixels) {
  const Real offset = subtract(value, low).value;
  const Real span = subtract(high, low).value;
  const Real steps = Real::from_uint64(pixels > 0 ? pixels - 1 : 0);
  const Real scaled = divide(multiply(offset, steps).value, span).value;
  return std::clamp(scaled.int64_nearest(), -far_pixels, far_pixels);
}

// `low + pixel * (high - low) / (pixels - 1)`.
Real scale_to_user(std::int64_t pixel, Real low, Real high, std::size_t pixels) {
  const Real span = subtract(high, low).value;
  const Real steps = Real::from_uint64(pixels > 1 ? pixels - 1 : 1);
  return add(low, divide(multiply(Real::from_int64(pixel), span).value, steps).value).value;
}

}  // namespace

Pixel user_to_pixel(const PlotWindow& window, std::size_t width, std::size_t height, Complex z) {
  return {scale_to_pixel(z.re, window.pmin.re, window.pmax.re, width),
          scale_to_pixel(z.im, window.pmax.im, window.pmin.im, height)};
}

Complex pixel_to_user(const PlotWindow& window, std::size_t width, std::size_t height, Pixel p) {
  return {scale_to_user(p.x, window.pmin.re, window.pmax.re, width),
          scale_to_user(p.y, window.pmax.im, window.pmin.im, height)};
}

}  // namespace rplrun
