// The display as a person sees it: a PNG picture in the calculator's dark-on-grey
// colours, or lines of Unicode half blocks for a terminal.
#pragma once

#include <string>

#include "objects/grob.h"

namespace rplrun {

// Writes `grob` to `path` as a PNG, each pixel a `scale` x `scale` square; on failure
// false, with what went wrong in `error`.
bool write_png(const Grob& grob, unsigned scale, const std::string& path, std::string& error);

// The grob (of an even number of rows, as the display) in UTF-8 half blocks, two pixel
// rows a line, framed by box-drawing lines.
std::string half_blocks(const Grob& grob);

}  // namespace rplrun
