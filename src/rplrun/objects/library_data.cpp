#include "objects/library_data.h"

namespace rplrun {

Object make_library_data(Object content) {
  auto node = std::make_shared<LibraryDataNode>(std::move(content));
  set_nesting(*node, {&node->content, 1});
  return Object::from_node(Kind::library_data, std::move(node));
}

}  // namespace rplrun
