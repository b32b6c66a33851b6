// PICT and drawing on it: PICT ERASE BLANK PVIEW PIXON PIXOFF PIX? LINE TLINE BOX C\->PX
// PX\->C. A point is a complex number in user units (mapped by PPAR's window) or a list
// of two binary integers, a pixel's column and row.
#include "commands/graphics.h"

#include <algorithm>

#include "commands/support.h"
#include "machine/plot_pixels.h"
#include "objects/command_ids.h"
#include "objects/drawing.h"

namespace rplrun {

bool is_pict(const Object& x) { return x.is(Kind::command) && x.command_id() == cmd::pict; }

bool grob_size(Machine& m, const Object& x) {
  const Grob* g = x.is(Kind::grob) ? &grob_of(x) : is_pict(x) ? &m.screen.pict() : nullptr;
  if (!g) return false;
  m.push(Object::binary(g->width));
  m.push(Object::binary(g->height));
  return true;
}

namespace {

constexpr std::int64_t far_pixels = 1 << 20;

// The size PICT is drawn at: never smaller than the display.
std::pair<std::size_t, std::size_t> drawing_size(const Machine& m) {
  return {std::max(m.screen.pict().width, display_width),
          std::max(m.screen.pict().height, display_height)};
}

std::int64_t pixel_coordinate(const Object& x) {
  if (!x.is(Kind::binary)) fail(bad_argument_type);
  return static_cast<std::int64_t>(std::min<std::uint64_t>(x.as_binary(), far_pixels));
}

// A list of two binary integers as a pixel.
Pixel pixel_list(const Object& x) {
  const auto items = list_arg(x);
  if (items.size() != 2) fail(bad_argument_value);
  return {pixel_coordinate(items[0]), pixel_coordinate(items[1])};
}

Object pixel_object(Pixel p) {
  return Object::list({Object::binary(static_cast<std::uint64_t>(p.x)),
                       Object::binary(static_cast<std::uint64_t>(p.y))});
}

void pict(Machine& m, const Args&) { m.push(Object::command(cmd::pict)); }

void erase(Machine& m, const Args&) { m.screen.erase_pict(); }

// BLANK: a light grob of #width #height.
void blank(Machine& m, const Args& a) {
  if (!a[2].is(Kind::binary) || !a[1].is(Kind::binary)) fail(bad_argument_type);
  m.push(make_grob(Grob(grob_dimension(a[2]), grob_dimension(a[1]))));
}

// PVIEW: PICT shown with the point at the display's top-left corner; { } shows it from
// its own corner.
void pview(Machine& m, const Args& a) {
  if (a[1].is(Kind::list) && a[1].items().empty()) return m.screen.show_pict();
  m.screen.show_pict(point_arg(m, a[1]));
}

void pixon(Machine& m, const Args& a) {
  const Pixel p = point_arg(m, a[1]);
  draw_pixel(m.screen.draw_on_pict(), p, Ink::dark);
}

void pixoff(Machine& m, const Args& a) {
  const Pixel p = point_arg(m, a[1]);
  draw_pixel(m.screen.draw_on_pict(), p, Ink::light);
}

void pix_test(Machine& m, const Args& a) {
  const Pixel p = point_arg(m, a[1]);
  const Grob& pict = m.screen.pict();
  m.push(truth(pict.inside(p.x, p.y) &&
               pict.dark(static_cast<std::size_t>(p.x), static_cast<std::size_t>(p.y))));
}

template <Ink ink>
void line(Machine& m, const Args& a) {
  const Pixel from = point_arg(m, a[2]);
  const Pixel to = point_arg(m, a[1]);
  draw_line(m.screen.draw_on_pict(), from, to, ink);
}

void box(Machine& m, const Args& a) {
  const Pixel from = point_arg(m, a[2]);
  const Pixel to = point_arg(m, a[1]);
  draw_box(m.screen.draw_on_pict(), from, to, Ink::dark);
}

void c_to_px(Machine& m, const Args& a) {
  if (!a[1].is(Kind::complex)) fail(bad_argument_type);
  m.push(pixel_object(point_arg(m, a[1])));
}

void px_to_c(Machine& m, const Args& a) {
  const Pixel p = pixel_list(a[1]);
  const auto [w, h] = drawing_size(m);
  m.push(Object::complex(pixel_to_user(plot_window(m), w, h, p)));
}

constexpr CommandRow rows[] = {
    {"PICT", 0, pict},
    {"ERASE", 0, erase},
    {"PVIEW", 1, pview},
    {"PIXON", 1, pixon},
    {"PIXOFF", 1, pixoff},
    {"PIX?", 1, pix_test},
    {"LINE", 2, line<Ink::dark>},
    {"TLINE", 2, line<Ink::invert>},
    {"BOX", 2, box},
    {"BLANK", 2, blank},
    {"C\\->PX", 1, c_to_px},
    {"PX\\->C", 1, px_to_c},
};

}  // namespace

Pixel point_arg(Machine& m, const Object& x) {
  if (x.is(Kind::complex)) {
    const auto [w, h] = drawing_size(m);
    return user_to_pixel(plot_window(m), w, h, x.as_complex());
  }
  return pixel_list(x);
}

std::size_t grob_dimension(const Object& x) {
  return static_cast<std::size_t>(std::min<std::uint64_t>(x.as_binary(), max_grob_pixels + 1));
}

std::span<const CommandRow> graphics_commands() { return rows; }

}  // namespace rplrun
