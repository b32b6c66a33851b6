// Arrays: real or complex vectors and matrices, elements in row order.
#pragma once

#include <optional>

#include "rplrun/object.h"

namespace rplrun {

struct ArrayNode : Node {
  std::vector<Object> elements;  // reals, or complex numbers when is_complex
  std::uint32_t rows = 0;        // a vector has one row
  std::uint32_t columns = 0;
  bool is_matrix = false;
  bool is_complex = false;
};

// A vector of the given numbers (reals, or complex if any is complex).
Object make_vector(std::vector<Object> elements);
// A matrix of rows x columns numbers in row order.
Object make_matrix(std::vector<Object> elements, std::uint32_t rows, std::uint32_t columns);

}  // namespace rplrun
