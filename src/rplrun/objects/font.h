// rplrun's three fonts, of the calculator's three character cell sizes (drawn for this
// program, not the ROM's), and text drawn with them.
#pragma once

#include <cstddef>
#include <string_view>

#include "objects/grob.h"

namespace rplrun {

// \->GROB's sizes: 1 small (4 x 6, menu labels), 2 medium (6 x 8, the stack and DISP),
// 3 large (8 x 10, the command line).
enum class FontSize { small = 1, medium = 2, large = 3 };

struct Font {
  std::size_t width = 0;  // of a cell, its spacing included
  std::size_t height = 0;
  // The cells of codes 0-255 one after another, each `height` rows of `width` pixels.
  std::vector<std::uint8_t> pixels;
  bool dark(unsigned char code, std::size_t x, std::size_t y) const {
    return pixels[(code * height + y) * width + x] != 0;
  }
};

const Font& font(FontSize size);

// Text in HP characters drawn with its cells' top-left corner at (x, y), each cell
// covering what lies beneath it, clipped at the grob's edges.
void draw_text(Grob& grob, std::int64_t x, std::int64_t y, std::string_view hp_text,
               const Font& font);
// A grob holding the text: one row of cells a line (a newline starts the next), as
// wide as the longest line.
Grob text_grob(std::string_view hp_text, const Font& font);

}  // namespace rplrun
