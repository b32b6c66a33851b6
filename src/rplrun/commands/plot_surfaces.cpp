// DRAW for the plots of functions of two variables. VPAR gives the grid: NUMX values of
// the independent variable by NUMY values of the dependent one, each spread evenly from
// one end of its range to the other, ends included.
//
// - WIREFRAME: z = EQ(x, y) over the view volume's width (XVOL) and depth (YVOL), the
//   points joined along both directions of the grid, seen in perspective.
// - YSLICE: the same points joined along x only, one curve per value of y.
// - PARSURFACE: the point (x, y, z) that EQ gives for each (u, v) of XXRNG by YYRNG,
//   joined along both directions, seen in perspective.
// - GRIDMAP: the point (u, v) that EQ gives for each (x, y) of XXRNG by YYRNG, joined
//   along both directions, in PPAR's window.
// - PCONTOUR: the volume's width and depth fill PICT as seen from above; at the centre of
//   each of NUMX by NUMY cells, a short segment along the contour line through it.
//
// The perspective: the view volume is scaled to the cube from -1 to 1 on each axis, the
// eye point with it, and seen from the eye toward the cube's centre with z upward (y
// upward when looking straight down or up); the picture is as large as PICT lets the
// projected cube be, centred. Lines are cut at the cube's faces; a point behind the eye
// is not drawn. Every line is drawn: a wireframe shows what lies behind its front. With
// flag -31 set, the grid's points are drawn without the lines.
#include <algorithm>
#include <cmath>

#include "commands/plot_sampling.h"
#include "objects/array.h"

namespace rplrun {

namespace {

using namespace plotting;
using Item = PlotParameters::Item;

// VPAR's items, in order.
enum View : std::uint8_t {
  x_left,
  x_right,
  y_near,
  y_far,
  z_low,
  z_high,
  xx_min,
  xx_max,
  yy_min,
  yy_max,
  x_eye,
  y_eye,
  z_eye,
  x_count,
  y_count,
};

// `n` values from `low` to `high`, both ends included (`low` alone for one).
std::vector<Real> spread(Real low, Real high, std::int64_t n) {
  std::vector<Real> values{low};
  for (std::int64_t k = 1; k < n; ++k)
    values.push_back(plus(low, over(times(whole(k), minus(high, low)), whole(n - 1))));
  return values;
}

// ---- the perspective

struct Point3 {
  double x, y, z;
  Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Point3 operator*(double k) const { return {x * k, y * k, z * k}; }
  double dot(const Point3& o) const { return x * o.x + y * o.y + z * o.z; }
  Point3 cross(const Point3& o) const {
    return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
  }
  double operator[](int k) const { return k == 0 ? x : k == 1 ? y : z; }
};

Point3 unit(Point3 v) { return v * (1 / std::sqrt(v.dot(v))); }

class Projection {
 public:
  Projection(const std::vector<Real>& view, const Grob& pict)
      : width_(static_cast<double>(pict.width)), height_(static_cast<double>(pict.height)) {
    for (int k = 0; k < 3; ++k) {
      low_[k] = view[2 * k].to_double();
      span_[k] = view[2 * k + 1].to_double() - low_[k];
    }
    eye_ = to_cube({view[x_eye].to_double(), view[y_eye].to_double(), view[z_eye].to_double()});
    forward_ = unit(eye_ * -1);
    Point3 side = forward_.cross({0, 0, 1});
    if (side.dot(side) == 0) side = forward_.cross({0, 1, 0});
    right_ = unit(side);
    up_ = right_.cross(forward_);
    // The scale that fits the corners seen in front of the eye.
    double wide = 0, tall = 0;
    for (int corner = 0; corner < 8; ++corner) {
      const Point3 c{corner & 1 ? 1.0 : -1.0, corner & 2 ? 1.0 : -1.0, corner & 4 ? 1.0 : -1.0};
      if (const std::optional<Point3> s = screen(c)) {
        wide = std::max(wide, std::abs(s->x));
        tall = std::max(tall, std::abs(s->y));
      }
    }
    scale_ = std::min((width_ - 1) / 2 / wide, (height_ - 1) / 2 / tall);
  }

  // A point in user units in the cube's.
  Point3 to_cube(Point3 p) const {
    return {2 * (p.x - low_[0]) / span_[0] - 1, 2 * (p.y - low_[1]) / span_[1] - 1,
            2 * (p.z - low_[2]) / span_[2] - 1};
  }

  // A point of the cube in pixels, kept near the picture as for the other plots; none
  // behind the eye, or anywhere when the volume or the eye's distance is no number.
  std::optional<Pixel> pixel(Point3 c) const {
    const std::optional<Point3> s = screen(c);
    if (!s) return std::nullopt;
    const double column = (width_ - 1) / 2 + scale_ * s->x;
    const double row = (height_ - 1) / 2 - scale_ * s->y;
    return Pixel{std::lround(std::clamp(column, -width_, 2 * width_)),
                 std::lround(std::clamp(row, -height_, 2 * height_))};
  }

 private:
  // The point on a screen at distance 1 from the eye, in its right and up directions.
  std::optional<Point3> screen(Point3 c) const {
    const Point3 d = c - eye_;
    const double depth = d.dot(forward_);
    if (!(depth > 0)) return std::nullopt;
    return Point3{d.dot(right_) / depth, d.dot(up_) / depth, depth};
  }

  double width_, height_;
  double low_[3], span_[3];
  Point3 eye_, forward_, right_, up_;
  double scale_;
};

// The part of the segment from `a` to `b` inside the cube, drawn.
void draw_segment(Grob& pict, const Projection& view, Point3 a, Point3 b) {
  double from = 0, to = 1;
  const Point3 d = b - a;
  for (int k = 0; k < 3; ++k) {
    if (d[k] == 0) {
      if (std::abs(a[k]) > 1) return;
      continue;
    }
    double enter = (-1 - a[k]) / d[k];
    double leave = (1 - a[k]) / d[k];
    if (enter > leave) std::swap(enter, leave);
    from = std::max(from, enter);
    to = std::min(to, leave);
  }
  if (from > to) return;
  const std::optional<Pixel> p = view.pixel(a + d * from);
  const std::optional<Pixel> q = view.pixel(a + d * to);
  if (p && q) draw_line(pict, *p, *q, Ink::dark);
}

// ---- sampling a grid

// Evaluates each component at every point of the grid, row after row (the dependent
// variable outer), and hands the point's results to `point`.
class GridSampler : public Sampler {
 public:
  GridSampler(Machine& m, const PlotParameters& p, std::vector<Object> components,
              std::vector<Real> xs, std::vector<Real> ys)
      : Sampler({variable_of(p.items[Item::independent]).name,
                 variable_of(p.items[Item::dependent]).name},
                m.depth()),
        components_(std::move(components)),
        xs_(std::move(xs)),
        ys_(std::move(ys)) {}

 protected:
  const Object* next(Machine&, Real* values) override {
    if (row_ == ys_.size()) return nullptr;
    values[0] = xs_[column_];
    values[1] = ys_[row_];
    return &components_[component_];
  }

  void accept(Machine&, const std::optional<Object>& result) override {
    results_.push_back(result);
    if (++component_ < components_.size()) return;
    point(xs_[column_], ys_[row_], results_);
    results_.clear();
    component_ = 0;
    if (++column_ == xs_.size()) {
      column_ = 0;
      ++row_;
    }
  }

  // One point's results, one per component.
  virtual void point(Real x, Real y, const std::vector<std::optional<Object>>& results) = 0;

  std::size_t columns() const { return xs_.size(); }

 private:
  std::vector<Object> components_;
  std::vector<Real> xs_, ys_;
  std::vector<std::optional<Object>> results_;
  std::size_t component_ = 0, column_ = 0, row_ = 0;
};

// The reals a point's results stand for: one real per component, or, for a single
// component, a complex number (two) or a vector of as many reals as wanted.
std::optional<std::vector<Real>> reals_of(const std::vector<std::optional<Object>>& results,
                                          std::size_t wanted) {
  std::vector<Real> reals;
  if (results.size() == 1 && results[0] && results[0]->is(Kind::array)) {
    for (const Object& e : results[0]->node_as<ArrayNode>().elements)
      if (e.is(Kind::real)) reals.push_back(e.as_real());
  } else if (results.size() == 1 && wanted == 2) {
    const std::optional<Complex> z = complex_of(results[0]);
    if (!z) return std::nullopt;
    reals = {z->re, z->im};
  } else {
    for (const std::optional<Object>& r : results)
      if (const std::optional<Real> x = real_of(r)) reals.push_back(*x);
  }
  if (reals.size() != wanted) return std::nullopt;
  return reals;
}

// The points of a grid, kept to be joined once all are known.
template <typename Point>
class Mesh {
 public:
  void add(std::optional<Point> p) { points_.push_back(p); }

  // Each point joined to the next along its row and, unless `rows_only`, to the one
  // below it in the next row; each point alone when they are not to be joined.
  template <typename Join>
  void join(std::size_t columns, bool rows_only, bool joined, Join line) const {
    for (std::size_t k = 0; k < points_.size(); ++k) {
      if (!points_[k]) continue;
      if (!joined) {
        line(*points_[k], *points_[k]);
        continue;
      }
      if ((k + 1) % columns != 0 && points_[k + 1]) line(*points_[k], *points_[k + 1]);
      if (!rows_only && k + columns < points_.size() && points_[k + columns])
        line(*points_[k], *points_[k + columns]);
    }
  }

 private:
  std::vector<std::optional<Point>> points_;
};

// WIREFRAME, YSLICE and PARSURFACE.
class SurfaceDrawing : public GridSampler {
 public:
  SurfaceDrawing(Machine& m, const PlotParameters& p, PlotType type, std::vector<Object> components,
                 std::vector<Real> xs, std::vector<Real> ys, const std::vector<Real>& view)
      : GridSampler(m, p, std::move(components), std::move(xs), std::move(ys)),
        type_(type),
        projection_(view, m.screen.draw_on_pict()) {}

 private:
  void point(Real x, Real y, const std::vector<std::optional<Object>>& results) override {
    std::optional<Point3> p;
    if (type_ == PlotType::parsurface) {
      if (const std::optional<std::vector<Real>> r = reals_of(results, 3))
        p = Point3{(*r)[0].to_double(), (*r)[1].to_double(), (*r)[2].to_double()};
    } else if (const std::optional<Real> z = real_of(results[0])) {
      p = Point3{x.to_double(), y.to_double(), z->to_double()};
    }
    if (p) p = projection_.to_cube(*p);
    mesh_.add(p);
  }

  void finish(Machine& m) override {
    Grob& pict = m.screen.draw_on_pict();
    mesh_.join(columns(), type_ == PlotType::yslice, joined(m),
               [&](const Point3& a, const Point3& b) { draw_segment(pict, projection_, a, b); });
  }

  PlotType type_;
  Projection projection_;
  Mesh<Point3> mesh_;
};

// GRIDMAP: the image of the grid in PPAR's window.
class GridMapDrawing : public GridSampler {
 public:
  GridMapDrawing(Machine& m, const PlotParameters& p, std::vector<Object> components,
                 std::vector<Real> xs, std::vector<Real> ys)
      : GridSampler(m, p, std::move(components), std::move(xs), std::move(ys)),
        geometry_(geometry(m)) {}

 private:
  void point(Real, Real, const std::vector<std::optional<Object>>& results) override {
    std::optional<Pixel> p;
    if (const std::optional<std::vector<Real>> r = reals_of(results, 2))
      p = geometry_.pixel((*r)[0], (*r)[1]);
    mesh_.add(p);
  }

  void finish(Machine& m) override {
    Grob& pict = m.screen.draw_on_pict();
    mesh_.join(columns(), false, joined(m),
               [&](const Pixel& a, const Pixel& b) { draw_line(pict, a, b, Ink::dark); });
  }

  Geometry geometry_;
  Mesh<Pixel> mesh_;
};

// PCONTOUR: the function at each cell's centre and one pixel right of and above it; the
// segment is square to the difference between them.
class ContourDrawing : public CellSampler {
 public:
  ContourDrawing(Machine& m, const PlotParameters& p, Object function, Geometry g,
                 std::int64_t columns, std::int64_t rows)
      : CellSampler(m, std::move(function), variable_of(p.items[Item::independent]).name,
                    variable_of(p.items[Item::dependent]).name, std::move(g), columns, rows) {}

 private:
  const Object* next(Machine&, Real* values) override {
    static constexpr Pixel probes[3] = {{0, 0}, {1, 0}, {0, -1}};
    return sample(probes[probe_], values);
  }

  void accept(Machine& m, const std::optional<Object>& result) override {
    values_[probe_] = real_of(result);
    if (++probe_ < 3) return;
    probe_ = 0;
    if (values_[0] && values_[1] && values_[2]) {
      // The change one pixel right and one pixel up; the contour runs square to it.
      const Extended across = Extended(*values_[1]) - Extended(*values_[0]);
      const Extended up = Extended(*values_[2]) - Extended(*values_[0]);
      draw_segment(m, -up, -across);
    }
    next_cell();
  }

  int probe_ = 0;
  std::optional<Real> values_[3];
};

// The function of a plot of one value: EQ's first object, an equation standing for its
// right side.
Object function_of(const std::vector<Object>& eq) {
  return is_equation(eq.front()) ? sides(eq.front()).second : eq.front();
}

}  // namespace

void draw_surface(Machine& m, PlotType type, const PlotParameters& p) {
  const std::vector<Real> view = view_parameters(m);
  const std::vector<Object> eq = equations(m);
  const Grob& pict = m.screen.draw_on_pict();
  const std::int64_t nx = grid_count(view[x_count], pict.width);
  const std::int64_t ny = grid_count(view[y_count], pict.height);
  switch (type) {
    case PlotType::pcontour: {
      Geometry g = geometry(m);
      g.window = {{view[x_left], view[y_near]}, {view[x_right], view[y_far]}};
      m.start_continuation(std::make_unique<ContourDrawing>(m, p, function_of(eq), g, nx, ny));
      return;
    }
    case PlotType::gridmap:
    case PlotType::parsurface: {
      std::vector<Real> xs = spread(view[xx_min], view[xx_max], nx);
      std::vector<Real> ys = spread(view[yy_min], view[yy_max], ny);
      if (type == PlotType::gridmap)
        m.start_continuation(
            std::make_unique<GridMapDrawing>(m, p, eq, std::move(xs), std::move(ys)));
      else
        m.start_continuation(
            std::make_unique<SurfaceDrawing>(m, p, type, eq, std::move(xs), std::move(ys), view));
      return;
    }
    default: {
      std::vector<Real> xs = spread(view[x_left], view[x_right], nx);
      std::vector<Real> ys = spread(view[y_near], view[y_far], ny);
      m.start_continuation(std::make_unique<SurfaceDrawing>(
          m, p, type, std::vector{function_of(eq)}, std::move(xs), std::move(ys), view));
    }
  }
}

}  // namespace rplrun
