// Graphics objects (grobs): a rectangle of dark and light pixels, the calculator's
// pictures (PICT, the text screen, \->GROB's results).
//
// In a transfer file a grob is `GROB width height digits`: each row is padded to whole
// bytes, so it takes 2*ceil(width/8) hexadecimal digits, the rows top first; each digit
// holds four pixels, the leftmost in its lowest bit. "GROB 8 2 1080" has the top row's
// leftmost pixel and the bottom row's rightmost one dark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "objects/object.h"

namespace rplrun {

// A picture being drawn: pixels in row order, 1 dark and 0 light.
struct Grob {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<std::uint8_t> pixels;

  Grob() = default;
  // A light grob of that size; Insufficient Memory when larger than a grob may be.
  Grob(std::size_t w, std::size_t h);

  bool inside(std::int64_t x, std::int64_t y) const {
    return x >= 0 && y >= 0 && static_cast<std::size_t>(x) < width &&
           static_cast<std::size_t>(y) < height;
  }
  bool dark(std::size_t x, std::size_t y) const { return pixels[y * width + x] != 0; }
  // Pixels outside the grob are left alone: drawing is clipped at its edges.
  void set(std::int64_t x, std::int64_t y, bool dark_pixel) {
    if (inside(x, y))
      pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = dark_pixel;
  }
  friend bool operator==(const Grob&, const Grob&) = default;
};

// The largest grob: as many pixels as a calculator's memory could hold several times.
inline constexpr std::size_t max_grob_pixels = std::size_t{1} << 24;

struct GrobNode : Node {
  explicit GrobNode(Grob g) : grob(std::move(g)) {}
  Grob grob;
};

Object make_grob(Grob grob);
inline const Grob& grob_of(const Object& x) { return x.node_as<GrobNode>().grob; }

// The digits of a transfer file's grob, and back: nullopt unless `digits` are exactly
// the upper-case hexadecimal digits a grob of that size takes.
std::string grob_digits(const Grob& grob);
std::optional<Grob> grob_from_digits(std::size_t width, std::size_t height,
                                     std::string_view digits);
// How many digits a grob of that size takes in a transfer file.
std::size_t grob_digit_count(std::size_t width, std::size_t height);

}  // namespace rplrun
