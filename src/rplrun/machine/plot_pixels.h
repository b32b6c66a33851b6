// User units and PICT's pixels: the plot window's corners are the picture's corner
// pixels, (PMIN.x, PMAX.y) at (0, 0).
#pragma once

#include "machine/plot_parameters.h"
#include "objects/drawing.h"

namespace rplrun {

// A point in user units as a pixel of a picture of that size, to the nearest pixel;
// coordinates far outside the picture are kept within a million pixels of it.
Pixel user_to_pixel(const PlotWindow& window, std::size_t width, std::size_t height, Complex z);
// A pixel's point in user units.
Complex pixel_to_user(const PlotWindow& window, std::size_t width, std::size_t height, Pixel p);

}  // namespace rplrun
