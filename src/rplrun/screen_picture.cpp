#include "screen_picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace rplrun {

namespace {

// The liquid crystal's grey and its dark pixels.
constexpr png_byte light_rgb[3] = {0xBC, 0xC4, 0xAE};
constexpr png_byte dark_rgb[3] = {0x22, 0x28, 0x2C};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports its errors here (a failed write among them); the write gives up
// through the jump buffer.
extern "C" void png_failed(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  *error = errno != 0 ? std::strerror(errno) : message;
  png_longjmp(png, 1);
}

bool encode(std::FILE* file, const Grob& grob, unsigned scale, std::string& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, png_failed, nullptr);
  if (!png) {
    error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  const auto width = static_cast<png_uint_32>(grob.width * scale);
  const auto height = static_cast<png_uint_32>(grob.height * scale);
  std::vector<png_byte> row(std::size_t{width} * 3);
  volatile bool written = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::size_t y = 0; y < grob.height; ++y) {
      for (std::size_t x = 0; x < std::size_t{width}; ++x)
        std::memcpy(&row[x * 3], grob.dark(x / scale, y) ? dark_rgb : light_rgb, 3);
      for (unsigned k = 0; k < scale; ++k) png_write_row(png, row.data());
    }
    png_write_end(png, info);
    written = true;
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return written;
}

}  // namespace

bool write_png(const Grob& grob, unsigned scale, const std::string& path, std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  // Unbuffered, so that a write that fails fails in libpng, which says so.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  errno = 0;
  return encode(file.get(), grob, scale, error);
}

std::string half_blocks(const Grob& grob) {
  // Indexed by the upper pixel's darkness plus twice the lower one's.
  static const char* const blocks[] = {" ", "\u2580", "\u2584", "\u2588"};
  std::string rule;
  for (std::size_t x = 0; x < grob.width; ++x) rule += "\u2500";
  std::string text = "\u250c" + rule + "\u2510\n";
  for (std::size_t y = 0; y < grob.height; y += 2) {
    text += "\u2502";
    for (std::size_t x = 0; x < grob.width; ++x)
      text += blocks[(grob.dark(x, y) ? 1 : 0) + (grob.dark(x, y + 1) ? 2 : 0)];
    text += "\u2502\n";
  }
  return text + "\u2514" + rule + "\u2518\n";
}

}  // namespace rplrun
