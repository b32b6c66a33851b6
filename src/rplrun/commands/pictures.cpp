// Grobs put together and PICT's size: PDIM PICTURE GOR GXOR ARC \->GROB, and SUB, REPL,
// + and NEG on grobs. A command given PICT as its target draws on PICT in place; given
// a grob it returns the new grob.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "commands/graphics.h"
#include "commands/plot_support.h"
#include "numbers/real_functions.h"
#include "objects/display.h"
#include "objects/font.h"

namespace rplrun {

namespace {

using Item = PlotParameters::Item;

// Farther than any pixel a grob can have.
constexpr double far_pixels = 1 << 20;

// A grob or PICT as the target of GOR, GXOR and REPL: the source is put onto it at
// the point; PICT is drawn on, a grob comes back changed.
void put_grob(Machine& m, const Args& a, Blend how) {
  const Object& target = a[3];
  if (!a[1].is(Kind::grob) || !(target.is(Kind::grob) || is_pict(target))) fail(bad_argument_type);
  const Pixel at = point_arg(m, a[2]);
  if (is_pict(target)) return blend(m.screen.draw_on_pict(), grob_of(a[1]), at, how);
  Grob result = grob_of(target);
  blend(result, grob_of(a[1]), at, how);
  m.push(make_grob(std::move(result)));
}

void gor(Machine& m, const Args& a) { put_grob(m, a, Blend::or_); }
void gxor(Machine& m, const Args& a) { put_grob(m, a, Blend::xor_); }

// How many pixels a span of user units takes at the scale of `pixels` over `old_span`;
// past the largest grob, just too many.
std::size_t scaled_pixels(Real span, Real old_span, std::size_t pixels) {
  const Real steps = Real::from_uint64(pixels - 1);
  const Real scaled = divide(multiply(abs(span), steps).value, abs(old_span)).value;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(scaled.uint64_nearest() + 1, max_grob_pixels + 1));
}

// PDIM: a light PICT of #width #height, or from corner (xmin,ymin) to (xmax,ymax) in
// user units, which become PPAR's corners, at the scale PICT has now.
void pdim(Machine& m, const Args& a) {
  if (a[2].is(Kind::binary) && a[1].is(Kind::binary))
    return m.screen.replace_pict(Grob(grob_dimension(a[2]), grob_dimension(a[1])));
  if (!a[2].is(Kind::complex) || !a[1].is(Kind::complex)) fail(bad_argument_type);
  PlotParameters p = plot_parameters(m);
  const Complex low = a[2].as_complex();
  const Complex high = a[1].as_complex();
  const Complex old_low = p.corner(Item::lower);
  const Complex old_high = p.corner(Item::upper);
  const PictureSize size = picture_size(m);
  Grob pict(scaled_pixels(subtract(high.re, low.re).value, subtract(old_high.re, old_low.re).value,
                          static_cast<std::size_t>(size.width)),
            scaled_pixels(subtract(high.im, low.im).value, subtract(old_high.im, old_low.im).value,
                          static_cast<std::size_t>(size.height)));
  p.items[Item::lower] = a[2];
  p.items[Item::upper] = a[1];
  store_plot_parameters(m, p);
  m.screen.replace_pict(std::move(pict));
}

// PICTURE: PICT shown from its top-left corner.
void picture(Machine& m, const Args&) { m.screen.show_pict(); }

// A whole turn in the current angle mode.
Real turn(Machine& m) {
  switch (m.flags.angle_mode()) {
    case AngleMode::degrees: return Real::from_int64(360);
    case AngleMode::grads: return Real::from_int64(400);
    case AngleMode::radians: break;
  }
  return multiply(Real::pi(), Real::from_int64(2)).value;
}

// ARC: centre, radius, and the angles the arc runs between counter-clockwise; the
// centre (x,y) with a radius in user units (of the x axis), or { #x #y } with #pixels.
void arc(Machine& m, const Args& a) {
  const Object& centre = a[4];
  const Object& radius = a[3];
  double pixels = 0;
  if (centre.is(Kind::complex)) {
    const PlotWindow window = plot_window(m);
    const PictureSize size = picture_size(m);
    pixels = real_arg(radius).to_double() * static_cast<double>(size.width - 1) /
             subtract(window.pmax.re, window.pmin.re).value.to_double();
  } else {
    if (!radius.is(Kind::binary)) fail(bad_argument_type);
    pixels = static_cast<double>(radius.as_binary());
  }
  const Real from = real_arg(a[2]);
  const Real to = real_arg(a[1]);
  const Pixel at = point_arg(m, centre);
  pixels = std::fabs(pixels);
  if (!(pixels <= far_pixels)) pixels = far_pixels;
  const Real whole = turn(m);
  const double to_radians = 2 * std::numbers::pi / whole.to_double();
  const double start = mod(from, whole).value.to_double() * to_radians;
  // Angles a whole turn or more apart make the whole circle.
  const Real span = subtract(to, from).value;
  const double end =
      abs(span) >= whole ? start + 2 * std::numbers::pi : start + span.to_double() * to_radians;
  draw_arc(m.screen.draw_on_pict(), at, pixels, start, end, Ink::dark);
}

// \->GROB: the object drawn as text in the font of size 1 to 3, 0 being the large font;
// a string without its quotes, any other object as the stack shows it.
void to_grob(Machine& m, const Args& a) {
  const Real size = real_arg(a[1]);
  if (!size.is_integer() || size.is_negative() || size > Real::from_int64(3))
    fail(bad_argument_value);
  if (a[2].is(Kind::grob)) return m.push(a[2]);
  const auto n = size.int64_nearest();
  const FontSize font_size = n == 0 ? FontSize::large : static_cast<FontSize>(n);
  const std::string text = a[2].is(Kind::string) ? a[2].as_string() : show(a[2], m.flags);
  m.push(make_grob(text_grob(text, font(font_size))));
}

constexpr CommandRow rows[] = {
    {"PDIM", 2, pdim}, {"PICTURE", 0, picture}, {"GOR", 3, gor},
    {"GXOR", 3, gxor}, {"ARC", 4, arc},         {"\\->GROB", 2, to_grob},
};

}  // namespace

bool grob_sub(Machine& m, const Args& a) {
  const Object& x = a[3];
  if (!x.is(Kind::grob) && !is_pict(x)) return false;
  const Pixel from = point_arg(m, a[2]);
  const Pixel to = point_arg(m, a[1]);
  m.push(make_grob(sub_grob(x.is(Kind::grob) ? grob_of(x) : m.screen.pict(), from, to)));
  return true;
}

bool grob_repl(Machine& m, const Args& a) {
  if (!a[3].is(Kind::grob) && !is_pict(a[3])) return false;
  put_grob(m, a, Blend::replace);
  return true;
}

bool grob_plus(Machine& m, const Args& a) {
  if (!a[2].is(Kind::grob) || !a[1].is(Kind::grob)) return false;
  Grob sum = grob_of(a[2]);
  const Grob& other = grob_of(a[1]);
  if (sum.width != other.width || sum.height != other.height) fail(invalid_dimension);
  blend(sum, other, {}, Blend::or_);
  m.push(make_grob(std::move(sum)));
  return true;
}

bool grob_neg(Machine& m, const Args& a) {
  if (!a[1].is(Kind::grob)) return false;
  Grob inverted = grob_of(a[1]);
  for (auto& pixel : inverted.pixels) pixel = !pixel;
  m.push(make_grob(std::move(inverted)));
  return true;
}

std::span<const CommandRow> picture_commands() { return rows; }

}  // namespace rplrun
