// What the plot commands share: the plot's parameters and the picture's size.
#pragma once

#include <algorithm>

#include "commands/support.h"
#include "machine/plot_parameters.h"

namespace rplrun {

struct PictureSize {
  std::int64_t width;
  std::int64_t height;
};

// The size of PICT, which the plot window spans: never less than the display, as PICT
// is made when something is drawn on it.
inline PictureSize picture_size(Machine& m) {
  const Grob& pict = m.screen.pict();
  return {static_cast<std::int64_t>(std::max(pict.width, display_width)),
          static_cast<std::int64_t>(std::max(pict.height, display_height))};
}

inline bool is_three_dimensional(PlotType type) {
  return type == PlotType::wireframe || type == PlotType::yslice || type == PlotType::pcontour ||
         type == PlotType::gridmap || type == PlotType::parsurface;
}

}  // namespace rplrun
