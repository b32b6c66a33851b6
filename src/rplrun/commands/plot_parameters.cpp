// The commands that set the plot's parameters: the window (PMIN PMAX XRNG YRNG CENTR
// SCALE *H *W), the sampling (RES), the axes (AXES ATICK), the variables (INDEP DEPND),
// the plot type, the 3D plots' view (XVOL YVOL ZVOL XXRNG YYRNG EYEPT NUMX NUMY), PINIT,
// and the current equation (STEQ RCEQ).
//
// The window commands that keep a point fixed keep the point shown at the picture's
// centre pixel, column w/2 and row h/2 from the top, and the size of a pixel: so
// (1,2) CENTR turns the default window into (-5.5,-1.1) (7.5,5.2).
#include "commands/plot_support.h"
#include "numbers/extended.h"

namespace rplrun {

namespace {

using Item = PlotParameters::Item;

// ---- the window

void set_corner(Machine& m, Item which, const Object& x) {
  if (!x.is(Kind::complex)) fail(bad_argument_type);
  PlotParameters p = plot_parameters(m);
  p.items[which] = x;
  store_plot_parameters(m, p);
}

void pmin(Machine& m, const Args& a) { set_corner(m, Item::lower, a[1]); }
void pmax(Machine& m, const Args& a) { set_corner(m, Item::upper, a[1]); }

// One coordinate of both corners: the real parts (x) or the imaginary parts (y).
void set_range(Machine& m, bool vertical, const Args& a) {
  const Real low = real_arg(a[2]);
  const Real high = real_arg(a[1]);
  PlotParameters p = plot_parameters(m);
  Complex lower = p.corner(Item::lower);
  Complex upper = p.corner(Item::upper);
  (vertical ? lower.im : lower.re) = low;
  (vertical ? upper.im : upper.re) = high;
  p.items[Item::lower] = Object::complex(lower);
  p.items[Item::upper] = Object::complex(upper);
  store_plot_parameters(m, p);
}

void xrng(Machine& m, const Args& a) { set_range(m, false, a); }
void yrng(Machine& m, const Args& a) { set_range(m, true, a); }

// The window as a centre point and the size of a pixel.
struct Frame {
  Extended x, y;    // the point at the centre pixel
  Extended dx, dy;  // user units per pixel
};

Extended whole(std::int64_t n) { return Extended(Real::from_int64(n)); }

Frame frame_of(Machine& m, const PlotParameters& p) {
  const PictureSize size = picture_size(m);
  const Complex low = p.corner(Item::lower);
  const Complex high = p.corner(Item::upper);
  Frame f;
  f.dx = (Extended(high.re) - Extended(low.re)) / whole(size.width - 1);
  f.dy = (Extended(high.im) - Extended(low.im)) / whole(size.height - 1);
  f.x = Extended(low.re) + f.dx * whole(size.width / 2);
  f.y = Extended(high.im) - f.dy * whole(size.height / 2);
  return f;
}

void store_frame(Machine& m, PlotParameters& p, const Frame& f) {
  const PictureSize size = picture_size(m);
  const std::int64_t column = size.width / 2;
  const std::int64_t row = size.height / 2;
  const auto real = [&](Extended v) { return m.flags.settle(v.rounded()); };
  p.items[Item::lower] = Object::complex(
      {real(f.x - f.dx * whole(column)), real(f.y - f.dy * whole(size.height - 1 - row))});
  p.items[Item::upper] = Object::complex(
      {real(f.x + f.dx * whole(size.width - 1 - column)), real(f.y + f.dy * whole(row))});
  store_plot_parameters(m, p);
}

// (x,y) CENTR, or x CENTR for (x,0).
void centr(Machine& m, const Args& a) {
  Complex centre;
  if (a[1].is(Kind::complex))
    centre = a[1].as_complex();
  else
    centre.re = real_arg(a[1]);
  PlotParameters p = plot_parameters(m);
  Frame f = frame_of(m, p);
  f.x = Extended(centre.re);
  f.y = Extended(centre.im);
  store_frame(m, p, f);
}

// xscale yscale SCALE: user units per ten pixels, the default tick spacing.
void scale(Machine& m, const Args& a) {
  const Real x_scale = real_arg(a[2]);
  const Real y_scale = real_arg(a[1]);
  if (x_scale.sign() <= 0 || y_scale.sign() <= 0) fail(bad_argument_value);
  PlotParameters p = plot_parameters(m);
  Frame f = frame_of(m, p);
  f.dx = Extended(x_scale) / whole(10);
  f.dy = Extended(y_scale) / whole(10);
  store_frame(m, p, f);
}

void stretch(Machine& m, bool vertical, const Object& x) {
  const Real factor = real_arg(x);
  if (factor.is_zero()) fail(bad_argument_value);
  PlotParameters p = plot_parameters(m);
  Frame f = frame_of(m, p);
  Extended& step = vertical ? f.dy : f.dx;
  step = step * Extended(factor);
  store_frame(m, p, f);
}

void times_h(Machine& m, const Args& a) { stretch(m, true, a[1]); }
void times_w(Machine& m, const Args& a) { stretch(m, false, a[1]); }

// ---- sampling and axes

// A real (0: one point per column) or a binary integer (pixels).
void res(Machine& m, const Args& a) {
  if (!a[1].is(Kind::binary) && real_arg(a[1]).is_negative()) fail(bad_argument_value);
  PlotParameters p = plot_parameters(m);
  p.items[Item::resolution] = a[1];
  store_plot_parameters(m, p);
}

// (x,y) moves the axes' crossing and keeps the ticks and labels; a list
// { (x,y) ticks "x label" "y label" } replaces them all.
void axes(Machine& m, const Args& a) {
  if (!a[1].is(Kind::complex) && !a[1].is(Kind::list)) fail(bad_argument_type);
  PlotParameters p = plot_parameters(m);
  Object& item = p.items[Item::axes];
  if (a[1].is(Kind::complex) && item.is(Kind::list) && !item.items().empty()) {
    std::vector<Object> parts(item.items().begin(), item.items().end());
    parts[0] = a[1];
    item = Object::list(std::move(parts));
  } else {
    item = a[1];
  }
  store_plot_parameters(m, p);
}

// A real (user units), a binary integer (pixels) or a list of two, one per axis.
void atick(Machine& m, const Args& a) {
  if (!a[1].is(Kind::real) && !a[1].is(Kind::binary) && !a[1].is(Kind::list))
    fail(bad_argument_type);
  PlotParameters p = plot_parameters(m);
  Object& item = p.items[Item::axes];
  std::vector<Object> parts;
  if (item.is(Kind::list))
    parts.assign(item.items().begin(), item.items().end());
  else
    parts.push_back(item);
  if (parts.size() < 2)
    parts.push_back(a[1]);
  else
    parts[1] = a[1];
  item = Object::list(std::move(parts));
  store_plot_parameters(m, p);
}

// ---- the variables

// 'name', { name }, { name low high }, { low high } (the current name kept), or
// low high on two levels.
void set_variable(Machine& m, Item which, const Args& a) {
  PlotParameters p = plot_parameters(m);
  Object& item = p.items[which];
  const Object current = item.is(Kind::list) && !item.items().empty() ? item.items()[0] : item;
  const auto range = [&](const Object& low, const Object& high) {
    if (!low.is(Kind::real) || !high.is(Kind::real)) fail(bad_argument_value);
    return Object::list({current, low, high});
  };
  if (a[1].is(Kind::real)) {
    m.require(1);
    real_arg(m.level(1));
    item = range(m.level(1), a[1]);
    m.pop();
  } else if (a[1].is(Kind::name)) {
    item = Object::name(a[1].symbol());
  } else {
    const std::span<const Object> parts = list_arg(a[1]);
    if (parts.size() == 2) {
      item = range(parts[0], parts[1]);
    } else if (parts.size() == 1 && parts[0].is(Kind::name)) {
      item = Object::name(parts[0].symbol());
    } else if (parts.size() == 3 && parts[0].is(Kind::name)) {
      if (!parts[1].is(Kind::real) || !parts[2].is(Kind::real)) fail(bad_argument_value);
      item = Object::list({Object::name(parts[0].symbol()), parts[1], parts[2]});
    } else {
      fail(bad_argument_value);
    }
  }
  store_plot_parameters(m, p);
}

void indep(Machine& m, const Args& a) { set_variable(m, Item::independent, a); }
void depnd(Machine& m, const Args& a) { set_variable(m, Item::dependent, a); }

// ---- the plot type

template <PlotType Type>
void select_type(Machine& m, const Args&) {
  PlotParameters p = plot_parameters(m);
  p.items[Item::type] = Object::command(plot_type_command(Type));
  store_plot_parameters(m, p);
}

// PPAR (and VPAR for a plot in three dimensions) made with the defaults when missing.
void pinit(Machine& m, const Args&) {
  const std::optional<PlotType> type = plot_parameters(m).plot_type();
  if (type && is_three_dimensional(*type)) view_parameters(m);
}

// ---- the 3D view

template <int First, int Count>
void set_view(Machine& m, const Args& a) {
  Real values[Count];
  for (int k = 0; k < Count; ++k) values[k] = real_arg(a[Count - k]);
  std::vector<Real> view = view_parameters(m);
  for (int k = 0; k < Count; ++k) view[First + k] = values[k];
  store_view_parameters(m, view);
}

// ---- the current equation

const Symbol* equation_name() {
  static const Symbol* const name = intern("EQ");
  return name;
}

void steq(Machine& m, const Args& a) { m.store_global(equation_name(), a[1]); }

void rceq(Machine& m, const Args&) {
  const Object* equation = m.global(equation_name());
  if (!equation) fail(undefined_name);
  m.push(detached(*equation));
}

constexpr CommandRow rows[] = {
    {"PMIN", 1, pmin},
    {"PMAX", 1, pmax},
    {"XRNG", 2, xrng},
    {"YRNG", 2, yrng},
    {"CENTR", 1, centr},
    {"SCALE", 2, scale},
    {"*H", 1, times_h},
    {"*W", 1, times_w},
    {"RES", 1, res},
    {"AXES", 1, axes},
    {"ATICK", 1, atick},
    {"INDEP", 1, indep},
    {"DEPND", 1, depnd},
    {"PINIT", 0, pinit},
    {"FUNCTION", 0, select_type<PlotType::function>},
    {"POLAR", 0, select_type<PlotType::polar>},
    {"PARAMETRIC", 0, select_type<PlotType::parametric>},
    {"CONIC", 0, select_type<PlotType::conic>},
    {"TRUTH", 0, select_type<PlotType::truth>},
    {"BAR", 0, select_type<PlotType::bar>},
    {"HISTOGRAM", 0, select_type<PlotType::histogram>},
    {"SCATTER", 0, select_type<PlotType::scatter>},
    {"SLOPEFIELD", 0, select_type<PlotType::slopefield>},
    {"WIREFRAME", 0, select_type<PlotType::wireframe>},
    {"YSLICE", 0, select_type<PlotType::yslice>},
    {"PCONTOUR", 0, select_type<PlotType::pcontour>},
    {"GRIDMAP", 0, select_type<PlotType::gridmap>},
    {"PARSURFACE", 0, select_type<PlotType::parsurface>},
    {"DIFFEQ", 0, select_type<PlotType::diffeq>},
    {"XVOL", 2, set_view<0, 2>},
    {"YVOL", 2, set_view<2, 2>},
    {"ZVOL", 2, set_view<4, 2>},
    {"XXRNG", 2, set_view<6, 2>},
    {"YYRNG", 2, set_view<8, 2>},
    {"EYEPT", 3, set_view<10, 3>},
    {"NUMX", 1, set_view<13, 1>},
    {"NUMY", 1, set_view<14, 1>},
    {"STEQ", 1, steq},
    {"RCEQ", 0, rceq},
};

}  // namespace

std::span<const CommandRow> plot_parameter_commands() { return rows; }

}  // namespace rplrun
