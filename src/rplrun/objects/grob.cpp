#include "objects/grob.h"

#include "objects/errors.h"

namespace rplrun {

Grob::Grob(std::size_t w, std::size_t h) : width(w), height(h) {
  if (w != 0 && h > max_grob_pixels / w) fail(insufficient_memory);
  pixels.assign(w * h, 0);
}

Object make_grob(Grob grob) {
  return Object::from_node(Kind::grob, std::make_shared<GrobNode>(std::move(grob)));
}

std::size_t grob_digit_count(std::size_t width, std::size_t height) {
  return height * 2 * ((width + 7) / 8);
}

std::string grob_digits(const Grob& grob) {
  constexpr std::string_view hex = "0123456789ABCDEF";
  const std::size_t per_row = 2 * ((grob.width + 7) / 8);
  std::string out;
  out.reserve(grob.height * per_row);
  for (std::size_t y = 0; y < grob.height; ++y) {
    for (std::size_t d = 0; d < per_row; ++d) {
      unsigned nibble = 0;
      for (std::size_t bit = 0; bit < 4; ++bit) {
        const std::size_t x = 4 * d + bit;
        if (x < grob.width && grob.dark(x, y)) nibble |= 1U << bit;
      }
      out += hex[nibble];
    }
  }
  return out;
}

std::optional<Grob> grob_from_digits(std::size_t width, std::size_t height,
                                     std::string_view digits) {
  if (width != 0 && height > max_grob_pixels / width) fail(insufficient_memory);
  if (digits.size() != grob_digit_count(width, height)) return std::nullopt;
  Grob grob(width, height);
  const std::size_t per_row = 2 * ((width + 7) / 8);
  for (std::size_t k = 0; k < digits.size(); ++k) {
    const char c = digits[k];
    unsigned nibble = 0;
    if (c >= '0' && c <= '9')
      nibble = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      nibble = static_cast<unsigned>(c - 'A' + 10);
    else
      return std::nullopt;
    const std::size_t y = k / per_row;
    for (std::size_t bit = 0; bit < 4; ++bit) {
      const std::size_t x = 4 * (k % per_row) + bit;
      // Bits of the padding past the last column are dropped (set() clips them).
      if ((nibble >> bit) & 1U)
        grob.set(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y), true);
    }
  }
  return grob;
}

}  // namespace rplrun
