#include "objects/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace rplrun {

void draw_pixel(Grob& grob, Pixel p, Ink ink) {
  if (!grob.inside(p.x, p.y)) return;
  const bool was = grob.dark(static_cast<std::size_t>(p.x), static_cast<std::size_t>(p.y));
  grob.set(p.x, p.y, ink == Ink::dark || (ink == Ink::invert && !was));
}

void draw_line(Grob& grob, Pixel a, Pixel b, Ink ink) {
  // Bresenham's walk. Callers keep coordinates within a few million pixels of the grob.
  const auto dx = std::llabs(b.x - a.x);
  const auto dy = -std::llabs(b.y - a.y);
  const std::int64_t sx = a.x < b.x ? 1 : -1;
  const std::int64_t sy = a.y < b.y ? 1 : -1;
  std::int64_t err = dx + dy;
  Pixel p = a;
  for (;;) {
    draw_pixel(grob, p, ink);
    if (p == b) return;
    const std::int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      p.x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      p.y += sy;
    }
  }
}

void draw_box(Grob& grob, Pixel a, Pixel b, Ink ink) {
  const Pixel c{b.x, a.y};
  const Pixel d{a.x, b.y};
  draw_line(grob, a, c, ink);
  if (a.y == b.y) return;
  draw_line(grob, d, b, ink);
  // The sides without the corners, which the top and bottom lines drew.
  const std::int64_t step = a.y < b.y ? 1 : -1;
  if (std::llabs(b.y - a.y) < 2) return;
  draw_line(grob, {a.x, a.y + step}, {a.x, b.y - step}, ink);
  if (a.x != b.x) draw_line(grob, {b.x, a.y + step}, {b.x, b.y - step}, ink);
}

void draw_arc(Grob& grob, Pixel center, double radius, double from, double to, Ink ink) {
  if (to < from) to += 2 * std::numbers::pi * std::ceil((from - to) / (2 * std::numbers::pi));
  // One point per pixel of the circumference, at least a few.
  const double span = std::min(to - from, 2 * std::numbers::pi);
  const auto steps = static_cast<std::int64_t>(std::clamp(std::ceil(span * radius), 4.0, 4096.0));
  const auto point = [&](double angle) {
    return Pixel{center.x + std::llround(radius * std::cos(angle)),
                 center.y - std::llround(radius * std::sin(angle))};
  };
  Pixel last = point(from);
  draw_pixel(grob, last, ink);
  for (std::int64_t k = 1; k <= steps; ++k) {
    const Pixel next = point(from + span * static_cast<double>(k) / static_cast<double>(steps));
    if (next == last) continue;
    // Neighbouring points are joined without drawing the shared end twice.
    if (std::llabs(next.x - last.x) > 1 || std::llabs(next.y - last.y) > 1)
      draw_line(grob, last, next, ink);
    draw_pixel(grob, next, ink);
    last = next;
  }
}

void blend(Grob& target, const Grob& source, Pixel at, Blend how) {
  for (std::size_t y = 0; y < source.height; ++y) {
    const std::int64_t ty = at.y + static_cast<std::int64_t>(y);
    if (ty < 0 || ty >= static_cast<std::int64_t>(target.height)) continue;
    for (std::size_t x = 0; x < source.width; ++x) {
      const std::int64_t tx = at.x + static_cast<std::int64_t>(x);
      if (!target.inside(tx, ty)) continue;
      const bool s = source.dark(x, y);
      const bool t = target.dark(static_cast<std::size_t>(tx), static_cast<std::size_t>(ty));
      target.set(tx, ty, how == Blend::replace ? s : how == Blend::or_ ? s || t : s != t);
    }
  }
}

Grob sub_grob(const Grob& grob, Pixel a, Pixel b) {
  const auto clamp_x = [&](std::int64_t x) {
    return std::clamp<std::int64_t>(x, 0, static_cast<std::int64_t>(grob.width) - 1);
  };
  const auto clamp_y = [&](std::int64_t y) {
    return std::clamp<std::int64_t>(y, 0, static_cast<std::int64_t>(grob.height) - 1);
  };
  if (grob.width == 0 || grob.height == 0) return Grob();
  const std::int64_t x0 = clamp_x(std::min(a.x, b.x));
  const std::int64_t x1 = clamp_x(std::max(a.x, b.x));
  const std::int64_t y0 = clamp_y(std::min(a.y, b.y));
  const std::int64_t y1 = clamp_y(std::max(a.y, b.y));
  Grob out(static_cast<std::size_t>(x1 - x0 + 1), static_cast<std::size_t>(y1 - y0 + 1));
  for (std::int64_t y = y0; y <= y1; ++y) {
    for (std::int64_t x = x0; x <= x1; ++x)
      out.set(x - x0, y - y0, grob.dark(static_cast<std::size_t>(x), static_cast<std::size_t>(y)));
  }
  return out;
}

}  // namespace rplrun
