// Library data: an object a built-in library keeps for itself in a variable (the
// multiple-equation solver's Mpar). It cannot be typed in; the calculator shows it as
// "Library Data", TYPE 26. What it holds is the library's own, as an object here.
#pragma once

#include "objects/object.h"

namespace rplrun {

struct LibraryDataNode : Node {
  explicit LibraryDataNode(Object c) : content(std::move(c)) {}
  Object content;
};

Object make_library_data(Object content);
inline const Object& library_data_content(const Object& data) {
  return data.node_as<LibraryDataNode>().content;
}

}  // namespace rplrun
