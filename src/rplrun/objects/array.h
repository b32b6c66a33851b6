// Arrays: real or complex vectors and matrices, elements in row order.
#pragma once

#include <optional>

#include "numbers/linear_algebra.h"
#include "objects/object.h"

namespace rplrun {

struct ArrayNode : Node {
  std::vector<Object> elements;  // reals, or complex numbers when is_complex
  std::uint32_t rows = 0;        // a vector has one row
  std::uint32_t columns = 0;
  bool is_matrix = false;
  bool is_complex = false;
};

// The most elements an array built by a command may have; more is Insufficient Memory.
// As much as a calculator's memory holds (8 bytes a real element), and small enough
// that a product or an inverse of the largest square matrix (128 x 128) takes a fraction
// of a second.
inline constexpr std::size_t max_array_elements = 16384;

// The dimensions of an array: a vector of `columns` elements, or a matrix.
struct Shape {
  std::uint32_t rows = 1;
  std::uint32_t columns = 0;
  bool is_matrix = false;

  std::size_t count() const { return static_cast<std::size_t>(rows) * columns; }
  friend bool operator==(const Shape&, const Shape&) = default;
};

Shape shape_of(const ArrayNode& array);

// A vector of the given numbers (reals, or complex if any is complex).
Object make_vector(std::vector<Object> elements);
// A matrix of rows x columns numbers in row order.
Object make_matrix(std::vector<Object> elements, std::uint32_t rows, std::uint32_t columns);
Object make_array(std::vector<Object> elements, const Shape& shape);

// The numbers of an array for the computations of linear_algebra.h: a vector becomes
// a matrix of one column. And back: a matrix of one column becomes a vector if asked.
Matrix to_matrix(const ArrayNode& array);
Object from_matrix(const Matrix& matrix, bool as_vector);

}  // namespace rplrun
