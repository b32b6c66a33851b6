#include "objects/array.h"

#include "objects/errors.h"

namespace rplrun {

Shape shape_of(const ArrayNode& array) { return {array.rows, array.columns, array.is_matrix}; }

Object make_array(std::vector<Object> elements, const Shape& shape) {
  auto node = std::make_shared<ArrayNode>();
  bool complex = false;
  for (const Object& e : elements) complex = complex || e.is(Kind::complex);
  if (complex) {
    for (Object& e : elements) {
      if (e.is(Kind::real)) e = Object::complex(e.to_complex());
    }
  }
  node->elements = std::move(elements);
  node->rows = shape.rows;
  node->columns = shape.columns;
  node->is_matrix = shape.is_matrix;
  node->is_complex = complex;
  return Object::from_node(Kind::array, std::move(node));
}

Object make_vector(std::vector<Object> elements) {
  const auto n = static_cast<std::uint32_t>(elements.size());
  return make_array(std::move(elements), {1, n, false});
}

Object make_matrix(std::vector<Object> elements, std::uint32_t rows, std::uint32_t columns) {
  return make_array(std::move(elements), {rows, columns, true});
}

Matrix to_matrix(const ArrayNode& array) {
  Matrix m;
  m.rows = array.is_matrix ? array.rows : array.columns;
  m.columns = array.is_matrix ? array.columns : 1;
  m.is_complex = array.is_complex;
  m.values.reserve(array.elements.size());
  for (const Object& e : array.elements) m.values.push_back(e.to_complex());
  return m;
}

Object from_matrix(const Matrix& matrix, bool as_vector) {
  std::vector<Object> elements;
  elements.reserve(matrix.values.size());
  for (const Complex& z : matrix.values)
    elements.push_back(matrix.is_complex ? Object::complex(z) : Object::real(z.re));
  if (as_vector) return make_vector(std::move(elements));
  return make_matrix(std::move(elements), matrix.rows, matrix.columns);
}

}  // namespace rplrun
