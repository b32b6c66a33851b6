// Plots drawn on PICT: DRAW for each plot type, DRAX, LABEL, AUTO, and the statistics
// plots BARPLOT HISTPLOT SCATRPLOT.
//
// The curves are sampled as the calculator does: the independent variable steps through
// its range (PPAR's, else the window's) by RES, one column at a time by default, and the
// equation is evaluated numerically at each step with the variable bound as SEQ binds its
// index. A step whose evaluation fails or gives no real leaves a gap. Successive points
// are joined by lines unless flag -31 is set. Each evaluation runs on the machine's own
// loop: the plot is a continuation that resumes when the equation has returned.
#include <algorithm>

#include "commands/plot_sampling.h"
#include "commands/statistics_data.h"
#include "machine/plot_pixels.h"
#include "numbers/extended.h"
#include "numbers/real_functions.h"
#include "objects/algebraic.h"
#include "objects/display.h"
#include "objects/drawing.h"
#include "objects/font.h"
#include "objects/reader.h"
#include "objects/symbolic.h"
#include "support/charset.h"

namespace rplrun {

namespace {

using namespace plotting;
using Item = PlotParameters::Item;

Real value(RealResult r) { return r.value; }

// The curves of a function or polar plot: each side of an equation is a curve of its
// own, but for a left side that names the dependent variable ('Y=X^2' is one curve).
std::vector<Object> curves(Machine& m, const Symbol* dependent) {
  std::vector<Object> result;
  for (const Object& x : equations(m)) {
    if (!is_equation(x)) {
      result.push_back(x);
      continue;
    }
    auto [left, right] = sides(x);
    if (!(left.is(Kind::name) && left.symbol() == dependent)) result.push_back(left);
    result.push_back(right);
  }
  return result;
}

// An equation as the expression that is zero on it: 'L=R' as 'L-R'.
Object as_difference(const Object& x) {
  if (!is_equation(x)) return x;
  auto [left, right] = sides(x);
  const Object operands[] = {left, right};
  return build_algebraic(operands, 2, Object::command(cmd::minus));
}

// The steps of the independent variable from `low` to `high`: RES in user units, or in
// pixels (a binary integer), or `fallback` for RES 0.
std::vector<Real> steps(const PlotParameters& p, const Geometry& g, Real low, Real high,
                        Real fallback) {
  const Object& res = p.items[Item::resolution];
  Real step = fallback;
  if (res.is(Kind::binary))
    step =
        times(whole(static_cast<std::int64_t>(std::min<std::uint64_t>(res.as_binary(), 1 << 20))),
              g.column_step());
  else if (res.is(Kind::real) && !res.as_real().is_zero())
    step = abs(res.as_real());
  else if (!res.is(Kind::real))
    fail(invalid_ppar);
  std::vector<Real> values;
  constexpr std::size_t most = 1 << 16;
  const bool upward = low <= high;
  const Real span = abs(minus(high, low));
  const std::int64_t count =
      step.is_zero() ? 0
                     : std::min<std::int64_t>(floor(over(span, step)).int64_toward_zero(), most);
  for (std::int64_t k = 0; k <= count; ++k) {
    const Real offset = times(whole(k), step);
    values.push_back(upward ? plus(low, offset) : minus(low, offset));
  }
  return values;
}

// The curves, each sampled at every step, the results handed to `point`.
class CurveSampler : public Sampler {
 public:
  CurveSampler(std::vector<Object> curves, std::vector<Real> steps, const Symbol* name,
               std::size_t base)
      : Sampler({name}, base), curves_(std::move(curves)), steps_(std::move(steps)) {}

 protected:
  const Object* next(Machine& m, Real* values) override {
    if (step_ == steps_.size()) {
      step_ = 0;
      ++curve_;
      new_curve(m);
    }
    if (curve_ == curves_.size() || steps_.empty()) return nullptr;
    values[0] = steps_[step_++];
    return &curves_[curve_];
  }
  void accept(Machine& m, const std::optional<Object>& result) override {
    point(m, steps_[step_ - 1], result);
  }
  virtual void point(Machine& m, Real t, const std::optional<Object>& result) = 0;
  virtual void new_curve(Machine&) {}

 private:
  std::vector<Object> curves_;
  std::vector<Real> steps_;
  std::size_t curve_ = 0;
  std::size_t step_ = 0;
};

// FUNCTION, POLAR and PARAMETRIC: each result a point of the curve.
class CurveDrawing : public CurveSampler {
 public:
  CurveDrawing(Machine& m, PlotType type, std::vector<Object> curves, std::vector<Real> steps,
               const Symbol* name)
      : CurveSampler(std::move(curves), std::move(steps), name, m.depth()),
        type_(type),
        geometry_(geometry(m)),
        trace_(joined(m)),
        angles_(m.flags.angle_mode()) {}

 private:
  void point(Machine& m, Real t, const std::optional<Object>& result) override {
    trace_.add(m, pixel_of(t, result));
  }
  void new_curve(Machine& m) override { trace_ = Trace(joined(m)); }

  std::optional<Pixel> pixel_of(Real t, const std::optional<Object>& result) const {
    if (type_ == PlotType::parametric) {
      const std::optional<Complex> z = complex_of(result);
      if (!z) return std::nullopt;
      return geometry_.pixel(z->re, z->im);
    }
    const std::optional<Real> y = real_of(result);
    if (!y) return std::nullopt;
    if (type_ == PlotType::function) return geometry_.pixel(t, *y);
    return geometry_.pixel(times(*y, value(cos(t, angles_))), times(*y, value(sin(t, angles_))));
  }

  PlotType type_;
  Geometry geometry_;
  Trace trace_;
  AngleMode angles_;
};

// The range and the steps of the independent variable for a curve plot.
std::vector<Real> curve_steps(Machine& m, PlotType type, const PlotParameters& p, const Geometry& g,
                              const PlotVariable& v) {
  if (type == PlotType::polar) {
    const Real turn = m.flags.angle_mode() == AngleMode::degrees ? whole(360)
                      : m.flags.angle_mode() == AngleMode::grads ? whole(400)
                                                                 : times(Real::pi(), whole(2));
    const auto [low, high] = v.range.value_or(std::pair{Real(), turn});
    return steps(p, g, low, high, over(turn, whole(180)));
  }
  const auto [low, high] = v.range.value_or(std::pair{g.window.pmin.re, g.window.pmax.re});
  const Real fallback =
      type == PlotType::parametric
          ? over(abs(minus(high, low)),
                 whole(std::max<std::int64_t>(1, static_cast<std::int64_t>(g.width) - 1)))
          : g.column_step();
  return steps(p, g, low, high, fallback);
}

void draw_curves(Machine& m, PlotType type, const PlotParameters& p) {
  const Geometry g = geometry(m);
  const PlotVariable x = variable_of(p.items[Item::independent]);
  const Symbol* y = variable_of(p.items[Item::dependent]).name;
  std::vector<Object> objects = type == PlotType::parametric ? equations(m) : curves(m, y);
  std::vector<Real> ts = curve_steps(m, type, p, g, x);
  m.start_continuation(
      std::make_unique<CurveDrawing>(m, type, std::move(objects), std::move(ts), x.name));
}

// ---- CONIC: each column's y values are the roots of the equation as a quadratic in y,
// found from its values at y = 0, 1 and -1.

class ConicDrawing : public Sampler {
 public:
  ConicDrawing(Machine& m, Object difference, std::vector<Real> xs, const Symbol* x,
               const Symbol* y)
      : Sampler({x, y}, m.depth()),
        difference_(std::move(difference)),
        xs_(std::move(xs)),
        geometry_(geometry(m)),
        lower_(joined(m)),
        upper_(joined(m)) {}

 private:
  const Object* next(Machine&, Real* values) override {
    if (column_ == xs_.size()) return nullptr;
    static const Real ys[3] = {Real(), whole(1), whole(-1)};
    values[0] = xs_[column_];
    values[1] = ys[probe_];
    return &difference_;
  }

  void accept(Machine& m, const std::optional<Object>& result) override {
    const std::optional<Real> f = real_of(result);
    known_[probe_] = f.has_value();
    if (f) values_[probe_] = Extended(*f);
    if (++probe_ < 3) return;
    probe_ = 0;
    const Real x = xs_[column_++];
    std::optional<Pixel> low, high;
    if (known_[0] && known_[1] && known_[2]) {
      const Extended two(whole(2));
      const Extended c = values_[0];
      const Extended b = (values_[1] - values_[2]) / two;
      const Extended a = (values_[1] + values_[2]) / two - c;
      if (a.is_zero()) {
        if (!b.is_zero()) low = high = pixel(x, -c / b);
      } else if (const Extended d = b * b - Extended(whole(4)) * a * c; !(d < Extended())) {
        const Extended root = square_root(d);
        low = pixel(x, (-b - root) / (two * a));
        high = pixel(x, (-b + root) / (two * a));
      }
    }
    lower_.add(m, low);
    upper_.add(m, high);
  }

  std::optional<Pixel> pixel(Real x, Extended y) const {
    return geometry_.pixel(x, y.rounded().value);
  }

  Object difference_;
  std::vector<Real> xs_;
  Geometry geometry_;
  Trace lower_, upper_;
  std::size_t column_ = 0;
  int probe_ = 0;
  Extended values_[3];
  bool known_[3] = {};
};

void draw_conic(Machine& m, const PlotParameters& p) {
  const Geometry g = geometry(m);
  const PlotVariable x = variable_of(p.items[Item::independent]);
  const PlotVariable y = variable_of(p.items[Item::dependent]);
  const std::vector<Object> all = equations(m);
  const auto [low, high] = x.range.value_or(std::pair{g.window.pmin.re, g.window.pmax.re});
  m.start_continuation(std::make_unique<ConicDrawing>(
      m, as_difference(all.front()), steps(p, g, low, high, g.column_step()), x.name, y.name));
}

// ---- TRUTH: every pixel where the test holds is dark.

class TruthDrawing : public Sampler {
 public:
  TruthDrawing(Machine& m, Object test, const Symbol* x, const Symbol* y)
      : Sampler({x, y}, m.depth()), test_(std::move(test)), geometry_(geometry(m)) {}

 private:
  const Object* next(Machine&, Real* values) override {
    if (static_cast<std::size_t>(at_.y) == geometry_.height) return nullptr;
    const Complex z = geometry_.user(at_);
    values[0] = z.re;
    values[1] = z.im;
    return &test_;
  }
  void accept(Machine& m, const std::optional<Object>& result) override {
    const std::optional<Real> truth = real_of(result);
    if (truth && !truth->is_zero()) draw_pixel(m.screen.draw_on_pict(), at_, Ink::dark);
    if (static_cast<std::size_t>(++at_.x) == geometry_.width) {
      at_.x = 0;
      ++at_.y;
    }
  }

  Object test_;
  Geometry geometry_;
  Pixel at_;
};

void draw_truth(Machine& m, const PlotParameters& p) {
  const PlotVariable x = variable_of(p.items[Item::independent]);
  const PlotVariable y = variable_of(p.items[Item::dependent]);
  m.start_continuation(std::make_unique<TruthDrawing>(m, equations(m).front(), x.name, y.name));
}

// ---- SLOPEFIELD: at the centre of each cell of a NUMX by NUMY grid over the window, a
// short segment of the slope the equation gives there.

class SlopeFieldDrawing : public CellSampler {
 public:
  SlopeFieldDrawing(Machine& m, Object slope, std::int64_t columns, std::int64_t rows,
                    const Symbol* x, const Symbol* y)
      : CellSampler(m, std::move(slope), x, y, plotting::geometry(m), columns, rows) {}

 private:
  const Object* next(Machine&, Real* values) override { return sample({0, 0}, values); }

  void accept(Machine& m, const std::optional<Object>& result) override {
    if (const std::optional<Real> s = real_of(result)) {
      // The slope in pixels: rows per column, rows counted downward.
      const Extended rise =
          -Extended(*s) * Extended(geometry().column_step()) / Extended(row_step());
      draw_segment(m, Extended(whole(1)), rise);
    }
    next_cell();
  }

  Real row_step() const {
    const Geometry& g = geometry();
    return over(minus(g.window.pmax.im, g.window.pmin.im),
                whole(std::max<std::int64_t>(1, static_cast<std::int64_t>(g.height) - 1)));
  }
};

void draw_slope_field(Machine& m, const PlotParameters& p) {
  const std::vector<Real> view = view_parameters(m);
  const Geometry g = geometry(m);
  const PlotVariable x = variable_of(p.items[Item::independent]);
  const PlotVariable y = variable_of(p.items[Item::dependent]);
  m.start_continuation(
      std::make_unique<SlopeFieldDrawing>(m, equations(m).front(), grid_count(view[13], g.width),
                                          grid_count(view[14], g.height), x.name, y.name));
}

// ---- DIFFEQ: the solution of y' = f(t, y) by the classical fourth-order Runge-Kutta
// steps, from the independent variable's initial value (its range's low end, else 0)
// to its final one (the high end, else the window's right edge), starting from the value
// the dependent variable's global holds (0 when it holds no real). Each step is RES
// (one column by default).

class DiffEqDrawing : public Sampler {
 public:
  DiffEqDrawing(Machine& m, Object slope, Real t0, Real t1, Real y0, Real step, const Symbol* t,
                const Symbol* y)
      : Sampler({t, y}, m.depth()),
        slope_(std::move(slope)),
        geometry_(geometry(m)),
        trace_(joined(m)),
        end_(t1),
        step_(t0 <= t1 ? step : negate(step)),
        t_(t0),
        y_(y0) {
    trace_.add(m, geometry_.pixel(t_, y_.rounded().value));
  }

 private:
  // The stage's point: t + c*h, y + c*h*k.
  const Object* next(Machine&, Real* values) override {
    if (done()) return nullptr;
    static const Extended halves[4] = {Extended(), Extended(over(whole(1), whole(2))),
                                       Extended(over(whole(1), whole(2))), Extended(whole(1))};
    const Extended c = halves[stage_];
    const Extended h(step_);
    values[0] = (Extended(t_) + c * h).rounded().value;
    values[1] = (stage_ == 0 ? y_ : y_ + c * h * k_[stage_ - 1]).rounded().value;
    return &slope_;
  }

  void accept(Machine& m, const std::optional<Object>& result) override {
    const std::optional<Real> k = real_of(result);
    if (!k) {
      failed_ = true;  // the solution cannot go on
      return;
    }
    k_[stage_] = Extended(*k);
    if (++stage_ < 4) return;
    stage_ = 0;
    const Extended sixth = Extended(step_) / Extended(whole(6));
    const Extended two(whole(2));
    y_ = y_ + sixth * (k_[0] + two * k_[1] + two * k_[2] + k_[3]);
    t_ = plus(t_, step_);
    trace_.add(m, geometry_.pixel(t_, y_.rounded().value));
  }

  bool done() const {
    if (failed_ || step_.is_zero()) return true;
    return step_.is_negative() ? t_ <= end_ : t_ >= end_;
  }

  Object slope_;
  Geometry geometry_;
  Trace trace_;
  Real end_;
  Real step_;
  Real t_;
  Extended y_;
  Extended k_[4];
  int stage_ = 0;
  bool failed_ = false;
};

void draw_diffeq(Machine& m, const PlotParameters& p) {
  const Geometry g = geometry(m);
  const PlotVariable t = variable_of(p.items[Item::independent]);
  const PlotVariable y = variable_of(p.items[Item::dependent]);
  const auto [t0, t1] = t.range.value_or(std::pair{Real(), g.window.pmax.re});
  const std::vector<Real> ts = steps(p, g, t0, t1, g.column_step());
  const Real step = ts.size() > 1 ? abs(minus(ts[1], ts[0])) : Real();
  const Object* start = m.global(y.name);
  const Real y0 = start && start->is(Kind::real) ? start->as_real() : Real();
  m.start_continuation(
      std::make_unique<DiffEqDrawing>(m, equations(m).front(), t0, t1, y0, step, t.name, y.name));
}

// ---- the statistics plots

struct Series {
  std::vector<Real> x;
  std::vector<Real> y;
};

std::vector<Real> column_values(const StatisticsData& data, Real column) {
  std::vector<Real> values;
  const std::uint32_t index = column_index(column, data);
  for (std::uint32_t row = 0; row < data.rows(); ++row) values.push_back(data.at(row, index));
  return values;
}

Series series(Machine& m, bool paired) {
  const StatisticsParameters sp = statistics_parameters(m);
  const StatisticsData data = statistics_data(m);
  Series s{column_values(data, sp.x_column), {}};
  if (paired) s.y = column_values(data, sp.y_column);
  return s;
}

Real least(const std::vector<Real>& v) { return *std::min_element(v.begin(), v.end()); }
Real greatest(const std::vector<Real>& v) { return *std::max_element(v.begin(), v.end()); }

void set_window(Machine& m, PlotParameters& p, Complex low, Complex high) {
  p.items[Item::lower] = Object::complex(low);
  p.items[Item::upper] = Object::complex(high);
  store_plot_parameters(m, p);
}

// Bar k (from 1) spans k-1/2 to k+1/2, from 0 to its value.
void draw_bars(Machine& m) {
  const Series s = series(m, false);
  const Geometry g = geometry(m);
  const Real half = over(whole(1), whole(2));
  for (std::size_t k = 0; k < s.x.size(); ++k) {
    const Real centre = whole(static_cast<std::int64_t>(k + 1));
    draw_box(m.screen.draw_on_pict(), g.pixel(minus(centre, half), Real()),
             g.pixel(plus(centre, half), s.x[k]), Ink::dark);
  }
}

// The bins of a histogram: from the window's left edge, RES wide (ten pixels for RES 0).
std::vector<std::int64_t> histogram_counts(const Series& s, const PlotParameters& p,
                                           const Geometry& g, Real& width) {
  const std::vector<Real> edges =
      steps(p, g, g.window.pmin.re, g.window.pmax.re, times(g.column_step(), whole(10)));
  width = edges.size() > 1 ? minus(edges[1], edges[0]) : Real();
  std::vector<std::int64_t> counts(edges.size(), 0);
  if (width.is_zero()) return counts;
  for (const Real x : s.x) {
    const Real bin = floor(over(minus(x, edges[0]), width));
    if (bin.is_negative() || bin >= whole(static_cast<std::int64_t>(counts.size()))) continue;
    counts[static_cast<std::size_t>(bin.int64_toward_zero())]++;
  }
  return counts;
}

void draw_histogram(Machine& m, const PlotParameters& p) {
  const Series s = series(m, false);
  const Geometry g = geometry(m);
  Real width;
  const std::vector<std::int64_t> counts = histogram_counts(s, p, g, width);
  for (std::size_t k = 0; k < counts.size(); ++k) {
    if (counts[k] == 0) continue;
    const Real left = plus(g.window.pmin.re, times(whole(static_cast<std::int64_t>(k)), width));
    draw_box(m.screen.draw_on_pict(), g.pixel(left, Real()),
             g.pixel(plus(left, width), whole(counts[k])), Ink::dark);
  }
}

void draw_scatter(Machine& m) {
  const Series s = series(m, true);
  const Geometry g = geometry(m);
  for (std::size_t k = 0; k < s.x.size(); ++k)
    draw_pixel(m.screen.draw_on_pict(), g.pixel(s.x[k], s.y[k]), Ink::dark);
}

// The windows the statistics plots scale themselves to.
void scale_bars(Machine& m, PlotParameters& p) {
  const Series s = series(m, false);
  const Real n = whole(static_cast<std::int64_t>(s.x.size()) + 1);
  set_window(m, p, {Real(), min(Real(), least(s.x))}, {n, max(Real(), greatest(s.x))});
}

void scale_histogram(Machine& m, PlotParameters& p) {
  const Series s = series(m, false);
  Real width;
  const std::vector<std::int64_t> counts = histogram_counts(s, p, geometry(m), width);
  const std::int64_t most = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
  set_window(m, p, {p.corner(Item::lower).re, Real()},
             {p.corner(Item::upper).re, whole(std::max<std::int64_t>(most, 1))});
}

void scale_scatter(Machine& m, PlotParameters& p) {
  const Series s = series(m, true);
  set_window(m, p, {least(s.x), least(s.y)}, {greatest(s.x), greatest(s.y)});
}

// ---- DRAW

void draw_plot(Machine& m, const PlotParameters& p) {
  const std::optional<PlotType> type = p.plot_type();
  if (!type) fail(invalid_ppar);
  switch (*type) {
    case PlotType::function:
    case PlotType::polar:
    case PlotType::parametric: return draw_curves(m, *type, p);
    case PlotType::conic: return draw_conic(m, p);
    case PlotType::truth: return draw_truth(m, p);
    case PlotType::bar: return draw_bars(m);
    case PlotType::histogram: return draw_histogram(m, p);
    case PlotType::scatter: return draw_scatter(m);
    case PlotType::slopefield: return draw_slope_field(m, p);
    case PlotType::diffeq: return draw_diffeq(m, p);
    case PlotType::wireframe:
    case PlotType::yslice:
    case PlotType::pcontour:
    case PlotType::gridmap:
    case PlotType::parsurface: return draw_surface(m, *type, p);
  }
}

void draw(Machine& m, const Args&) { draw_plot(m, plot_parameters(m)); }

// ---- AUTO

// The least and greatest values of the samples, set as the y range (FUNCTION) or as
// both ranges (POLAR, PARAMETRIC).
class AutoScaling : public CurveSampler {
 public:
  AutoScaling(Machine& m, PlotType type, std::vector<Object> curves, std::vector<Real> steps,
              const Symbol* name)
      : CurveSampler(std::move(curves), std::move(steps), name, m.depth()),
        type_(type),
        angles_(m.flags.angle_mode()) {}

 private:
  void point(Machine&, Real t, const std::optional<Object>& result) override {
    std::optional<Complex> z;
    if (type_ == PlotType::parametric) {
      z = complex_of(result);
    } else if (const std::optional<Real> r = real_of(result)) {
      if (type_ == PlotType::function)
        z = Complex{t, *r};
      else
        z = Complex{times(*r, value(cos(t, angles_))), times(*r, value(sin(t, angles_)))};
    }
    if (!z) return;
    if (!low_) {
      low_ = high_ = *z;
      return;
    }
    low_ = Complex{min(low_->re, z->re), min(low_->im, z->im)};
    high_ = Complex{max(high_->re, z->re), max(high_->im, z->im)};
  }

  void finish(Machine& m) override {
    if (!low_) return;
    PlotParameters p = plot_parameters(m);
    Complex low = p.corner(Item::lower);
    Complex high = p.corner(Item::upper);
    if (type_ != PlotType::function && low_->re < high_->re) {
      low.re = low_->re;
      high.re = high_->re;
    }
    if (low_->im < high_->im) {
      low.im = low_->im;
      high.im = high_->im;
    }
    set_window(m, p, low, high);
  }

  PlotType type_;
  AngleMode angles_;
  std::optional<Complex> low_, high_;
};

void auto_scale(Machine& m, const Args&) {
  PlotParameters p = plot_parameters(m);
  const std::optional<PlotType> type = p.plot_type();
  if (!type) fail(invalid_ppar);
  switch (*type) {
    case PlotType::function:
    case PlotType::polar:
    case PlotType::parametric: {
      const Geometry g = geometry(m);
      const PlotVariable x = variable_of(p.items[Item::independent]);
      const Symbol* y = variable_of(p.items[Item::dependent]).name;
      std::vector<Object> objects = *type == PlotType::parametric ? equations(m) : curves(m, y);
      std::vector<Real> ts;
      if (*type == PlotType::function) {
        // Forty steps across the window.
        const Real step = over(minus(g.window.pmax.re, g.window.pmin.re), whole(39));
        for (std::int64_t k = 0; k < 40; ++k)
          ts.push_back(plus(g.window.pmin.re, times(whole(k), step)));
      } else {
        ts = curve_steps(m, *type, p, g, x);
      }
      m.start_continuation(
          std::make_unique<AutoScaling>(m, *type, std::move(objects), std::move(ts), x.name));
      return;
    }
    case PlotType::bar: return scale_bars(m, p);
    case PlotType::histogram: return scale_histogram(m, p);
    case PlotType::scatter: return scale_scatter(m, p);
    default: return;  // the other plots keep their window
  }
}

// ---- the statistics plot commands: the plot type set, the window scaled, the plot drawn.

void select(Machine& m, PlotParameters& p, PlotType type) {
  p.items[Item::type] = Object::command(plot_type_command(type));
  store_plot_parameters(m, p);
}

void barplot(Machine& m, const Args&) {
  PlotParameters p = plot_parameters(m);
  select(m, p, PlotType::bar);
  scale_bars(m, p);
  draw_bars(m);
}

void histplot(Machine& m, const Args&) {
  PlotParameters p = plot_parameters(m);
  select(m, p, PlotType::histogram);
  scale_histogram(m, p);
  draw_histogram(m, p);
}

void scatrplot(Machine& m, const Args&) {
  PlotParameters p = plot_parameters(m);
  select(m, p, PlotType::scatter);
  scale_scatter(m, p);
  draw_scatter(m);
}

// ---- DRAX and LABEL

struct Axes {
  Complex crossing;
  Object ticks[2];  // along x, along y: a real in user units or a binary integer in pixels
  std::optional<std::string> names[2];
};

Axes axes_of(const PlotParameters& p) {
  const Object& item = p.items[Item::axes];
  Axes a;
  a.ticks[0] = a.ticks[1] = Object::binary(10);
  std::span<const Object> parts;
  if (item.is(Kind::list))
    parts = item.items();
  else
    parts = std::span<const Object>(&item, 1);
  if (parts.empty() || !parts[0].is(Kind::complex)) fail(invalid_ppar);
  a.crossing = parts[0].as_complex();
  if (parts.size() > 1) {
    const Object& t = parts[1];
    if (t.is(Kind::list)) {
      if (t.items().size() != 2) fail(invalid_ppar);
      a.ticks[0] = t.items()[0];
      a.ticks[1] = t.items()[1];
    } else {
      a.ticks[0] = a.ticks[1] = t;
    }
    for (const Object& tick : a.ticks)
      if (!tick.is(Kind::real) && !tick.is(Kind::binary)) fail(invalid_ppar);
  }
  for (std::size_t k = 2; k < 4 && k < parts.size(); ++k) {
    if (!parts[k].is(Kind::string)) fail(invalid_ppar);
    a.names[k - 2] = parts[k].as_string();
  }
  return a;
}

// The pixels along one axis where its tick marks go: every `tick` from the crossing.
std::vector<std::int64_t> tick_positions(const Geometry& g, const Object& tick, bool vertical,
                                         Pixel crossing) {
  const std::int64_t length = static_cast<std::int64_t>(vertical ? g.height : g.width);
  const std::int64_t from = vertical ? crossing.y : crossing.x;
  std::vector<std::int64_t> at;
  if (tick.is(Kind::binary)) {
    const auto step = static_cast<std::int64_t>(std::min<std::uint64_t>(tick.as_binary(), 1 << 20));
    if (step == 0) return at;
    for (std::int64_t p = from % step; p < length; p += step)
      if (p >= 0) at.push_back(p);
    return at;
  }
  const Real units = abs(tick.as_real());
  if (units.is_zero()) return at;
  const Real low = vertical ? g.window.pmin.im : g.window.pmin.re;
  const Real high = vertical ? g.window.pmax.im : g.window.pmax.re;
  const Real origin = vertical ? g.user(crossing).im : g.user(crossing).re;
  const Real first = ceil(over(minus(min(low, high), origin), units));
  const Real last = floor(over(minus(max(low, high), origin), units));
  const std::int64_t count = minus(last, first).int64_toward_zero();
  if (count < 0 || count > length) return at;
  for (std::int64_t k = 0; k <= count; ++k) {
    const Real u = plus(origin, times(plus(first, whole(k)), units));
    const Pixel p = vertical ? g.pixel(g.window.pmin.re, u) : g.pixel(u, g.window.pmin.im);
    at.push_back(vertical ? p.y : p.x);
  }
  return at;
}

// The axes through PPAR's crossing, each with a tick mark (a pixel on each side of it)
// at every tick spacing.
void drax(Machine& m, const Args&) {
  const PlotParameters p = plot_parameters(m);
  const Axes a = axes_of(p);
  const Geometry g = geometry(m);
  const Pixel o = g.pixel(a.crossing.re, a.crossing.im);
  const auto w = static_cast<std::int64_t>(g.width);
  const auto h = static_cast<std::int64_t>(g.height);
  Grob& pict = m.screen.draw_on_pict();
  if (o.y >= 0 && o.y < h) {
    draw_line(pict, {0, o.y}, {w - 1, o.y}, Ink::dark);
    for (const std::int64_t x : tick_positions(g, a.ticks[0], false, o))
      draw_line(pict, {x, o.y - 1}, {x, o.y + 1}, Ink::dark);
  }
  if (o.x >= 0 && o.x < w) {
    draw_line(pict, {o.x, 0}, {o.x, h - 1}, Ink::dark);
    for (const std::int64_t y : tick_positions(g, a.ticks[1], true, o))
      draw_line(pict, {o.x - 1, y}, {o.x + 1, y}, Ink::dark);
  }
}

// The ends of the ranges beside the axes in the small font, and the variables' names
// (or the axes' labels) at the far ends: numbers below the horizontal axis and right of
// the vertical one, names on the other side, either moved across where it would leave
// the picture.
void label(Machine& m, const Args&) {
  const PlotParameters p = plot_parameters(m);
  const Axes a = axes_of(p);
  const Geometry g = geometry(m);
  const Font& small = font(FontSize::small);
  const auto cell_w = static_cast<std::int64_t>(small.width);
  const auto cell_h = static_cast<std::int64_t>(small.height);
  const auto w = static_cast<std::int64_t>(g.width);
  const auto h = static_cast<std::int64_t>(g.height);
  const Pixel o = g.pixel(a.crossing.re, a.crossing.im);
  const std::int64_t row = std::clamp<std::int64_t>(o.y, 0, h - 1);
  const std::int64_t column = std::clamp<std::int64_t>(o.x, 0, w - 1);
  const auto text_width = [&](const std::string& s) {
    return static_cast<std::int64_t>(s.size()) * cell_w;
  };
  const auto number = [&](Real x) { return decompile(Object::real(x), m.flags); };
  const auto name = [&](int k, Item item) {
    if (a.names[k]) return *a.names[k];
    return decompile(Object::name(variable_of(p.items[item]).name), m.flags, false);
  };
  const bool numbers_below = row + 2 + cell_h <= h;
  const std::int64_t numbers_row = numbers_below ? row + 2 : row - 1 - cell_h;
  const std::int64_t names_row = numbers_below ? row - 1 - cell_h : row + 2;
  const std::string xmin = number(g.window.pmin.re);
  const std::string xmax = number(g.window.pmax.re);
  const std::string xname = name(0, Item::independent);
  const std::string ymin = number(g.window.pmin.im);
  const std::string ymax = number(g.window.pmax.im);
  const std::string yname = name(1, Item::dependent);
  const std::int64_t longest = std::max(text_width(ymin), text_width(ymax));
  const bool numbers_right = column + 2 + longest <= w;
  const auto beside = [&](const std::string& s, bool right) {
    return right ? column + 2 : column - 1 - text_width(s);
  };
  Grob& pict = m.screen.draw_on_pict();
  draw_text(pict, 0, numbers_row, xmin, small);
  draw_text(pict, w - text_width(xmax), numbers_row, xmax, small);
  draw_text(pict, w - text_width(xname), names_row, xname, small);
  draw_text(pict, beside(ymax, numbers_right), 0, ymax, small);
  draw_text(pict, beside(ymin, numbers_right), h - cell_h, ymin, small);
  draw_text(pict, beside(yname, !numbers_right), 0, yname, small);
}

constexpr CommandRow rows[] = {
    {"DRAW", 0, draw},           {"AUTO", 0, auto_scale}, {"DRAX", 0, drax},
    {"LABEL", 0, label},         {"BARPLOT", 0, barplot}, {"HISTPLOT", 0, histplot},
    {"SCATRPLOT", 0, scatrplot},
};

}  // namespace

std::span<const CommandRow> plot_drawing_commands() { return rows; }

}  // namespace rplrun
