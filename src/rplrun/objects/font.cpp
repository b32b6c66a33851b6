#include "objects/font.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>

#include "objects/font_data.h"

namespace rplrun {

namespace {

// The font files' format: "cell W H", then blocks "char N NAME" and H rows of W
// characters ('#' dark, '.' light); a comment line starts with "# ". The files are
// built into the program, so a malformed one is a mistake of the build.
Font parse_font(const char* text) {
  std::istringstream in(text);
  Font font;
  int code = -1;
  std::size_t row = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.starts_with("# ")) continue;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "cell") {
      words >> font.width >> font.height;
      font.pixels.assign(256 * font.width * font.height, 0);
    } else if (word == "char") {
      words >> code;
      row = 0;
    } else {
      if (code < 0 || code > 255 || row >= font.height || line.size() != font.width)
        throw std::logic_error("malformed font row: " + line);
      for (std::size_t x = 0; x < font.width; ++x)
        font.pixels[(static_cast<std::size_t>(code) * font.height + row) * font.width + x] =
            line[x] == '#';
      ++row;
    }
  }
  return font;
}

}  // namespace

const Font& font(FontSize size) {
  static const Font small = parse_font(font_small_text);
  static const Font medium = parse_font(font_medium_text);
  static const Font large = parse_font(font_large_text);
  return size == FontSize::small ? small : size == FontSize::medium ? medium : large;
}

void draw_text(Grob& grob, std::int64_t x, std::int64_t y, std::string_view hp_text,
               const Font& font) {
  const auto w = static_cast<std::int64_t>(font.width);
  for (const char c : hp_text) {
    for (std::size_t row = 0; row < font.height; ++row) {
      for (std::size_t col = 0; col < font.width; ++col)
        grob.set(x + static_cast<std::int64_t>(col), y + static_cast<std::int64_t>(row),
                 font.dark(static_cast<unsigned char>(c), col, row));
    }
    x += w;
  }
}

Grob text_grob(std::string_view hp_text, const Font& font) {
  std::size_t lines = 1;
  std::size_t longest = 0;
  std::size_t length = 0;
  for (const char c : hp_text) {
    if (c == '\n') {
      ++lines;
      length = 0;
    } else {
      longest = std::max(longest, ++length);
    }
  }
  Grob grob(longest * font.width, lines * font.height);
  std::int64_t y = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = hp_text.find('\n', start);
    draw_text(grob, 0, y, hp_text.substr(start, end - start), font);
    if (end == std::string_view::npos) break;
    start = end + 1;
    y += static_cast<std::int64_t>(font.height);
  }
  return grob;
}

}  // namespace rplrun
