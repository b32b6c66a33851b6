// The plot's parameters as the calculator keeps them: the reserved variables PPAR (the
// plot window, independent variable, resolution, axes, plot type, dependent variable)
// and VPAR (the 3D plots' volume, eye point and grid), created with their defaults in
// the current directory when a command needs them, and the plot window they give.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "machine/machine.h"
#include "numbers/complex.h"

namespace rplrun {

// The plot types, in the order of plot_type_names().
enum class PlotType : std::uint8_t {
  function,
  polar,
  parametric,
  conic,
  truth,
  bar,
  histogram,
  scatter,
  slopefield,
  wireframe,
  yslice,
  pcontour,
  gridmap,
  parsurface,
  diffeq,
};
inline constexpr int plot_type_count = 15;
// The commands that select them: "FUNCTION", "POLAR" ...
const char* const* plot_type_names();
std::uint32_t plot_type_command(PlotType type);

// PPAR: { (xmin,ymin) (xmax,ymax) indep res axes ptype depend }, kept item by item so
// that what a command does not touch stays as it was.
struct PlotParameters {
  static constexpr std::size_t item_count = 7;
  enum Item : std::uint8_t { lower, upper, independent, resolution, axes, type, dependent };

  std::vector<Object> items;

  static PlotParameters defaults();
  Complex corner(Item which) const { return items[which].as_complex(); }
  // The plot type; none when the type item is no plot type command.
  std::optional<PlotType> plot_type() const;
};

// PPAR, stored with its defaults when the current directory (or one above) has none;
// Invalid PPAR unless it is a list of 7 whose first two items are complex numbers.
PlotParameters plot_parameters(Machine& m);
void store_plot_parameters(Machine& m, const PlotParameters& parameters);

// The plot window: PPAR's PMIN and PMAX, the corners of PICT in user units; the default
// window when there is no PPAR, which is then not made.
struct PlotWindow {
  Complex pmin;
  Complex pmax;
};
PlotWindow plot_window(Machine& m);

// VPAR: { xmin xmax ymin ymax zmin zmax xxmin xxmax yymin yymax xeye yeye zeye nx ny },
// fifteen reals, stored with its defaults when missing; Invalid PPAR otherwise.
std::vector<Real> view_parameters(Machine& m);
void store_view_parameters(Machine& m, const std::vector<Real>& values);

}  // namespace rplrun
