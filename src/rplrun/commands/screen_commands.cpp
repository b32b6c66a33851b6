// The display as a graphics object: \->LCD LCD\-> ANIMATE.
#include <algorithm>

#include "commands/support.h"
#include "objects/drawing.h"

namespace rplrun {

namespace {

// \->LCD covers the text screen above the menu row.
constexpr std::size_t lcd_rows = 56;

// \->LCD: the grob on the text screen from its top-left corner, cut at the menu row.
void to_lcd(Machine& m, const Args& a) {
  if (!a[1].is(Kind::grob)) fail(bad_argument_type);
  const Grob& grob = grob_of(a[1]);
  Grob& screen = m.screen.draw_on_text();
  for (std::size_t y = 0; y < std::min(grob.height, lcd_rows); ++y) {
    for (std::size_t x = 0; x < std::min(grob.width, screen.width); ++x)
      screen.set(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y), grob.dark(x, y));
  }
  m.screen.frame_done();
}

void from_lcd(Machine& m, const Args&) { m.push(make_grob(m.screen.text())); }

struct Animation {
  std::size_t frames = 0;
  Pixel at;
  std::uint64_t repeats = 1;
};

std::uint64_t whole_arg(const Object& x) {
  const Real r = real_arg(x);
  if (r.is_negative()) fail(bad_argument_value);
  return static_cast<std::uint64_t>(r.int64_toward_zero());
}

// ANIMATE's count, or its list { count { #x #y } delay repeats } (a shorter list keeps
// the defaults of what it leaves out: { #0 #0 }, 0.1 s, once). Repeats 0 is a million.
Animation animation_arg(const Object& x) {
  Animation animation;
  if (!x.is(Kind::list)) {
    animation.frames = static_cast<std::size_t>(whole_arg(x));
    return animation;
  }
  const auto items = x.items();
  if (items.empty() || items.size() > 4) fail(bad_argument_value);
  animation.frames = static_cast<std::size_t>(whole_arg(items[0]));
  if (items.size() > 1) {
    const auto corner = list_arg(items[1]);
    if (corner.size() != 2) fail(bad_argument_value);
    for (const Object& c : corner)
      if (!c.is(Kind::binary)) fail(bad_argument_type);
    constexpr std::uint64_t far = 1 << 20;
    animation.at = {static_cast<std::int64_t>(std::min(corner[0].as_binary(), far)),
                    static_cast<std::int64_t>(std::min(corner[1].as_binary(), far))};
  }
  if (items.size() > 2) whole_arg(items[2]);  // the delay: no waiting here
  if (items.size() > 3) {
    animation.repeats = whole_arg(items[3]);
    if (animation.repeats == 0) animation.repeats = 1000000;
  }
  return animation;
}

// ANIMATE: the grobs below the count, deepest first, each put on PICT at the corner and
// shown as a frame; the stack is left as it was.
void animate(Machine& m, const Args& a) {
  const Animation animation = animation_arg(a[1]);
  m.require(animation.frames);
  const auto& stack = m.stack();
  const std::size_t first = stack.size() - animation.frames;
  for (std::size_t k = first; k < stack.size(); ++k)
    if (!stack[k].is(Kind::grob)) fail(bad_argument_type);
  m.push(a[1]);
  for (std::uint64_t round = 0; round < animation.repeats; ++round) {
    for (std::size_t k = first; k < first + animation.frames; ++k) {
      blend(m.screen.draw_on_pict(), grob_of(stack[k]), animation.at, Blend::replace);
      m.screen.show_pict();
      m.count_step();
    }
  }
}

constexpr CommandRow rows[] = {
    {"\\->LCD", 1, to_lcd},
    {"LCD\\->", 0, from_lcd},
    {"ANIMATE", 1, animate},
};

}  // namespace

std::span<const CommandRow> screen_commands() { return rows; }

}  // namespace rplrun
