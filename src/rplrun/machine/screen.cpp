#include "machine/screen.h"

#include <algorithm>

namespace rplrun {

namespace {

Grob at_least_display(Grob grob) {
  if (grob.width >= display_width && grob.height >= display_height) return grob;
  Grob larger(std::max(grob.width, display_width), std::max(grob.height, display_height));
  blend(larger, grob, {}, Blend::replace);
  return larger;
}

}  // namespace

Grob& Screen::draw_on_pict() {
  pict_ = at_least_display(std::move(pict_));
  showing_pict_ = true;
  ++changes_;
  return pict_;
}

void Screen::erase_pict() {
  pict_ = Grob(pict_.width, pict_.height);
  ++changes_;
}

void Screen::clear_pict() {
  pict_ = Grob();
  ++changes_;
}

void Screen::replace_pict(Grob grob) {
  pict_ = at_least_display(std::move(grob));
  ++changes_;
}

void Screen::show_pict(Pixel corner) {
  draw_on_pict();
  corner_ = corner;
  frame_done();
}

Grob& Screen::draw_on_text() {
  showing_pict_ = false;
  ++changes_;
  return text_;
}

void Screen::frame_done() {
  if (frame_watcher) frame_watcher(display());
}

Grob Screen::display() const {
  if (!showing_pict_) return text_;
  Grob shown(display_width, display_height);
  blend(shown, pict_, {-corner_.x, -corner_.y}, Blend::replace);
  return shown;
}

}  // namespace rplrun
