// What the plot commands share: the plot's parameters and the picture's size.
#pragma once

#include "commands/support.h"
#include "machine/plot_parameters.h"

namespace rplrun {

struct PictureSize {
  std::int64_t width = 131;
  std::int64_t height = 64;
};

// The size of PICT, which the plot window spans.
inline PictureSize picture_size(Machine&) { return {}; }

inline bool is_three_dimensional(PlotType type) {
  return type == PlotType::wireframe || type == PlotType::yslice || type == PlotType::pcontour ||
         type == PlotType::gridmap || type == PlotType::parsurface;
}

}  // namespace rplrun
