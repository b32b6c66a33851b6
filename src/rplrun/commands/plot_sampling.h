// What the plots share while they sample their equation: the picture's geometry in user
// units, points joined into curves, EQ and PPAR's variables, and the continuation that
// evaluates the equation at one point after another on the machine's own loop.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "commands/plot_support.h"
#include "machine/plot_pixels.h"
#include "numbers/extended.h"
#include "numbers/real_functions.h"
#include "objects/drawing.h"

namespace rplrun::plotting {

inline Real plus(Real a, Real b) { return add(a, b).value; }
inline Real minus(Real a, Real b) { return subtract(a, b).value; }
inline Real times(Real a, Real b) { return multiply(a, b).value; }
inline Real over(Real a, Real b) { return divide(a, b).value; }
inline Real whole(std::int64_t n) { return Real::from_int64(n); }

// PICT's size and the window it shows.
struct Geometry {
  PlotWindow window;
  std::size_t width;
  std::size_t height;

  // A point's pixel, kept near the picture so that a line toward a far point costs
  // no more than one across it.
  Pixel pixel(Real x, Real y) const;
  Complex user(Pixel p) const { return pixel_to_user(window, width, height, p); }
  // The width of a pixel in user units.
  Real column_step() const;
};

// PPAR's window on PICT, which is made when missing.
Geometry geometry(Machine& m);

// Points joined by lines, unless flag -31 asks for the points alone.
class Trace {
 public:
  explicit Trace(bool joined) : joined_(joined) {}
  void add(Machine& m, std::optional<Pixel> p);

 private:
  bool joined_;
  std::optional<Pixel> last_;
};

bool joined(Machine& m);

// EQ as a list of objects to plot; Invalid EQ when there is none or it holds anything
// but numbers, names, algebraics and programs.
std::vector<Object> equations(Machine& m);
bool is_equation(const Object& x);
// The sides of an equation.
std::pair<Object, Object> sides(const Object& equation);

// A variable item of PPAR: a name, or { name low high }.
struct PlotVariable {
  const Symbol* name;
  std::optional<std::pair<Real, Real>> range;
};
PlotVariable variable_of(const Object& item);

// A count of VPAR: a whole number from 1 to `most`.
std::int64_t grid_count(Real count, std::size_t most);

// The grids of short segments (SLOPEFIELD, PCONTOUR): the centre pixel of cell `k` of
// `count` across `pixels`, and how far a segment reaches each way from it, two fifths of
// the smaller side of a cell.
std::int64_t cell_centre(std::int64_t k, std::int64_t count, std::size_t pixels);
std::int64_t cell_segment(const Geometry& g, std::int64_t columns, std::int64_t rows);
// The segment through `centre` in the direction (right, down), `reach` pixels each way;
// the centre alone when there is no direction.
void draw_tangent(Grob& pict, Pixel centre, Extended right, Extended down, std::int64_t reach);

// Evaluates objects with one or two variables bound, one step after another, each as
// \->NUM does with a failure caught (it gives no result).
class Sampler : public Continuation {
 public:
  Sampler(std::vector<const Symbol*> names, std::size_t base)
      : names_(std::move(names)), base_(base) {}

  bool resume(Machine& m) final;

 protected:
  // The object to evaluate next and the variables' values; null when done.
  virtual const Object* next(Machine& m, Real* values) = 0;
  virtual void accept(Machine& m, const std::optional<Object>& result) = 0;
  virtual void finish(Machine&) {}

 private:
  std::vector<const Symbol*> names_;
  std::size_t base_;
  bool waiting_ = false;
  bool bound_ = false;
};

// A real result; none for anything else.
std::optional<Real> real_of(const std::optional<Object>& x);
// A complex or real result as a complex number.
std::optional<Complex> complex_of(const std::optional<Object>& x);

}  // namespace rplrun::plotting

namespace rplrun {

// DRAW for the plots of functions of two variables: WIREFRAME, YSLICE, PCONTOUR,
// GRIDMAP and PARSURFACE.
void draw_surface(Machine& m, PlotType type, const PlotParameters& p);

}  // namespace rplrun
