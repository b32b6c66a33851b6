#include "rplrun/array.h"

namespace rplrun {

namespace {
Object make_array(std::vector<Object> elements, std::uint32_t rows, std::uint32_t columns,
                  bool matrix) {
  auto node = std::make_shared<ArrayNode>();
  bool complex = false;
  for (const Object& e : elements) complex = complex || e.is(Kind::complex);
  if (complex) {
    for (Object& e : elements) {
      if (e.is(Kind::real)) e = Object::complex(e.to_complex());
    }
  }
  node->elements = std::move(elements);
  node->rows = rows;
  node->columns = columns;
  node->is_matrix = matrix;
  node->is_complex = complex;
  return Object::from_node(Kind::array, std::move(node));
}
}  // namespace

Object make_vector(std::vector<Object> elements) {
  const auto n = static_cast<std::uint32_t>(elements.size());
  return make_array(std::move(elements), 1, n, false);
}

Object make_matrix(std::vector<Object> elements, std::uint32_t rows, std::uint32_t columns) {
  return make_array(std::move(elements), rows, columns, true);
}

}  // namespace rplrun
