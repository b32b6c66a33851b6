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

// The grids of short segments (SLOPEFIELD, PCONTOUR): a walk over the cells of a columns
// by rows grid on the picture, row by row, the object sampled near each cell's centre
// and a segment drawn through the centre.
class CellSampler : public Sampler {
 protected:
  CellSampler(Machine& m, Object sampled, const Symbol* x, const Symbol* y, Geometry g,
              std::int64_t columns, std::int64_t rows);

  const Geometry& geometry() const { return geometry_; }
  // The object to sample at the current cell's centre moved by `offset` pixels, that
  // point's coordinates in values; null once every cell is done.
  const Object* sample(Pixel offset, Real* values) const;
  // The segment through the current cell's centre in the direction (right, down), two
  // fifths of the smaller side of a cell each way; the centre alone with no direction.
  void draw_segment(Machine& m, Extended right, Extended down) const;
  void next_cell();

 private:
  Pixel centre() const;

  Object sampled_;
  Geometry geometry_;
  std::int64_t columns_;
  std::int64_t rows_;
  std::int64_t column_ = 0;
  std::int64_t row_ = 0;
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
