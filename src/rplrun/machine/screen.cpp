#include "machine/screen.h"

#include <algorithm>

#include "machine/machine.h"
#include "numbers/real_functions.h"
#include "objects/command_ids.h"
#include "objects/errors.h"

namespace rplrun {

namespace {

Grob at_least_display(Grob grob) {
  if (grob.width >= display_width && grob.height >= display_height) return grob;
  Grob larger(std::max(grob.width, display_width), std::max(grob.height, display_height));
  blend(larger, grob, {}, Blend::replace);
  return larger;
}

}  // namespace

Grob& Screen::draw_on_pict() {
  pict_ = at_least_display(std::move(pict_));
  showing_pict_ = true;
  ++changes_;
  return pict_;
}

void Screen::erase_pict() {
  pict_ = Grob(pict_.width, pict_.height);
  ++changes_;
}

void Screen::replace_pict(Grob grob) {
  pict_ = at_least_display(std::move(grob));
  ++changes_;
}

void Screen::show_pict(Pixel corner) {
  draw_on_pict();
  corner_ = corner;
  frame_done();
}

Grob& Screen::draw_on_text() {
  showing_pict_ = false;
  ++changes_;
  return text_;
}

void Screen::frame_done() {
  if (frame_watcher) frame_watcher(display());
}

Grob Screen::display() const {
  if (!showing_pict_) return text_;
  Grob shown(display_width, display_height);
  blend(shown, pict_, {-corner_.x, -corner_.y}, Blend::replace);
  return shown;
}

Object default_ppar() {
  const auto real = [](std::int64_t tenths) {
    return divide(Real::from_int64(tenths), Real::from_int64(10)).value;
  };
  return Object::list({
      Object::complex({real(-65), real(-31)}),
      Object::complex({real(65), real(32)}),
      Object::name(intern("X")),
      Object::real(Real()),
      Object::complex({}),
      Object::command(cmd::function),
      Object::name(intern("Y")),
  });
}

PlotWindow plot_window(const Machine& m) {
  static const Symbol* const ppar = intern("PPAR");
  const Variable* variable = const_cast<Machine&>(m).current_directory().find(ppar);
  if (!variable) {
    static const Object fallback = default_ppar();
    return {fallback.items()[0].as_complex(), fallback.items()[1].as_complex()};
  }
  const Object& value = const_cast<Variable*>(variable)->settled();
  if (!value.is(Kind::list) || value.items().size() < 2 || !value.items()[0].is(Kind::complex) ||
      !value.items()[1].is(Kind::complex))
    fail(invalid_ppar);
  return {value.items()[0].as_complex(), value.items()[1].as_complex()};
}

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
