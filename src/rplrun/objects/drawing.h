// Drawing on a grob: pixels, lines, boxes, arcs, and one grob put onto another. Pixel
// (0,0) is the top-left corner; whatever falls outside the grob is clipped.
#pragma once

#include <cstdint>

#include "objects/grob.h"

namespace rplrun {

struct Pixel {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};

// What drawing does to each pixel it reaches.
enum class Ink { dark, light, invert };

void draw_pixel(Grob& grob, Pixel p, Ink ink);
// The pixels of the straight line from `a` to `b`, both ends included, each once.
void draw_line(Grob& grob, Pixel a, Pixel b, Ink ink);
// The outline of the rectangle with opposite corners `a` and `b`.
void draw_box(Grob& grob, Pixel a, Pixel b, Ink ink);
// The arc of the circle of `radius` pixels around `center` from angle `from` to `to`
// (radians, counter-clockwise as on paper, so toward smaller rows), as connected points.
void draw_arc(Grob& grob, Pixel center, double radius, double from, double to, Ink ink);

// How a grob put onto another combines with what is there.
enum class Blend { replace, or_, xor_ };
// `source` put onto `target` with its top-left corner at `at`.
void blend(Grob& target, const Grob& source, Pixel at, Blend how);
// The part of a grob between the corners `a` and `b` (included, in either order),
// clipped to the grob.
Grob sub_grob(const Grob& grob, Pixel a, Pixel b);

}  // namespace rplrun
