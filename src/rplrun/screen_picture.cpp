#include "screen_picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shared_library.h"

namespace rplrun {

namespace {

// The liquid crystal's grey and its dark pixels.
constexpr png_byte light_rgb[3] = {0xBC, 0xC4, 0xAE};
constexpr png_byte dark_rgb[3] = {0x22, 0x28, 0x2C};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng's functions, the library opened when the first picture is written rather than
// at every start: most runs write none, and loading it (and zlib) at start-up is a fair
// part of a short run's time.
struct Libpng {
  decltype(&png_create_write_struct) create_write_struct;
  decltype(&png_create_info_struct) create_info_struct;
  decltype(&png_set_longjmp_fn) set_longjmp_fn;
  decltype(&png_get_error_ptr) get_error_ptr;
  decltype(&png_longjmp) longjmp;
  decltype(&png_init_io) init_io;
  decltype(&png_set_IHDR) set_IHDR;
  decltype(&png_write_info) write_info;
  decltype(&png_write_row) write_row;
  decltype(&png_write_end) write_end;
  decltype(&png_destroy_write_struct) destroy_write_struct;
};

#define RPLRUN_TEXT(x) #x
#define RPLRUN_NUMBER_TEXT(x) RPLRUN_TEXT(x)
// The library of the header built against: libpng16.so.16.
constexpr const char* libpng_file = "libpng" RPLRUN_NUMBER_TEXT(
    PNG_LIBPNG_VER_DLLNUM) ".so." RPLRUN_NUMBER_TEXT(PNG_LIBPNG_VER_SONUM);

std::optional<Libpng> open_libpng(std::string& error) {
  SharedLibrary library(libpng_file);
  Libpng png{};
  library.find(png.create_write_struct, "png_create_write_struct");
  library.find(png.create_info_struct, "png_create_info_struct");
  library.find(png.set_longjmp_fn, "png_set_longjmp_fn");
  library.find(png.get_error_ptr, "png_get_error_ptr");
  library.find(png.longjmp, "png_longjmp");
  library.find(png.init_io, "png_init_io");
  library.find(png.set_IHDR, "png_set_IHDR");
  library.find(png.write_info, "png_write_info");
  library.find(png.write_row, "png_write_row");
  library.find(png.write_end, "png_write_end");
  library.find(png.destroy_write_struct, "png_destroy_write_struct");
  if (library.usable()) return png;
  error = library.error();
  return std::nullopt;
}

// The library once open: its error handler below reaches it here.
const Libpng* opened = nullptr;

// The library, opened once; null, with the reason in `error`, when it cannot be.
const Libpng* libpng(std::string& error) {
  static std::string failure;
  static const std::optional<Libpng> png = open_libpng(failure);
  if (!png) {
    error = failure;
    return nullptr;
  }
  opened = &*png;
  return opened;
}

// libpng reports its errors here (a failed write among them); the write gives up
// through the jump buffer.
extern "C" void png_failed(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(opened->get_error_ptr(png));
  *error = errno != 0 ? std::strerror(errno) : message;
  opened->longjmp(png, 1);
}

bool encode(std::FILE* file, const Grob& grob, unsigned scale, std::string& error) {
  const Libpng* lib = libpng(error);
  if (!lib) return false;
  png_structp png = lib->create_write_struct(PNG_LIBPNG_VER_STRING, &error, png_failed, nullptr);
  if (!png) {
    error = "out of memory";
    return false;
  }
  png_infop info = lib->create_info_struct(png);
  const auto width = static_cast<png_uint_32>(grob.width * scale);
  const auto height = static_cast<png_uint_32>(grob.height * scale);
  std::vector<png_byte> row(std::size_t{width} * 3);
  volatile bool written = false;
  if (info && setjmp(*lib->set_longjmp_fn(png, longjmp, sizeof(jmp_buf))) == 0) {
    lib->init_io(png, file);
    lib->set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    lib->write_info(png, info);
    for (std::size_t y = 0; y < grob.height; ++y) {
      for (std::size_t x = 0; x < std::size_t{width}; ++x)
        std::memcpy(&row[x * 3], grob.dark(x / scale, y) ? dark_rgb : light_rgb, 3);
      for (unsigned k = 0; k < scale; ++k) lib->write_row(png, row.data());
    }
    lib->write_end(png, info);
    written = true;
  }
  lib->destroy_write_struct(&png, info ? &info : nullptr);
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
