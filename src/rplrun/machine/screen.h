// The display: PICT (the graphics picture), the text screen that DISP writes on, which
// of the two the user sees, and the plot window of PPAR, which maps the user's
// coordinates onto PICT's pixels.
#pragma once

#include <cstdint>
#include <functional>

#include "objects/drawing.h"
#include "objects/grob.h"

namespace rplrun {

class Machine;

// The display's size in pixels.
inline constexpr std::size_t display_width = 131;
inline constexpr std::size_t display_height = 64;

class Screen {
 public:
  // PICT as the commands that read it see it: empty (0 x 0) after a memory reset.
  const Grob& pict() const { return pict_; }
  // PICT to draw on: first made at least as large as the display (light pixels added at
  // the right and the bottom); the user sees it from now on.
  Grob& draw_on_pict();
  // ERASE: PICT made light, its size kept.
  void erase_pict();
  // PICT PURGE: PICT empty again, as after a memory reset.
  void clear_pict();
  // PICT replaced (PICT STO, PDIM): never smaller than the display.
  void replace_pict(Grob grob);
  // PICT shown with the display's top-left corner at `corner` of PICT (PVIEW), as one
  // frame of what the user sees.
  void show_pict(Pixel corner = {});
  // The text screen (DISP, CLLCD), which the user sees from now on.
  const Grob& text() const { return text_; }
  Grob& draw_on_text();
  // A frame of what the user sees is finished (PVIEW, FREEZE, ANIMATE, DISP in a loop):
  // the frame watcher gets it.
  void frame_done();

  bool showing_pict() const { return showing_pict_; }
  // What the user sees now: 131 x 64 pixels.
  Grob display() const;
  // How many times PICT or the text screen changed: a line that changes this changed
  // the display.
  std::uint64_t changes() const { return changes_; }

  // Called with each frame shown (the program's --screen=DIR/); unset: nothing.
  std::function<void(const Grob& display)> frame_watcher;

 private:
  Grob pict_;
  Grob text_{display_width, display_height};
  Pixel corner_;
  bool showing_pict_ = false;
  std::uint64_t changes_ = 0;
};

}  // namespace rplrun
