// What the array commands share: their arguments (arrays, dimensions, positions, a
// variable holding an array) and their results.
#pragma once

#include "commands/support.h"
#include "objects/array.h"

namespace rplrun {

inline const ArrayNode& array_arg(const Object& object) {
  if (!object.is(Kind::array)) fail(bad_argument_type);
  return object.node_as<ArrayNode>();
}

// An array that must be a matrix: a vector is Invalid Dimension.
inline const ArrayNode& matrix_arg(const Object& object) {
  const ArrayNode& array = array_arg(object);
  if (!array.is_matrix) fail(invalid_dimension);
  return array;
}

inline const ArrayNode& square_matrix_arg(const Object& object) {
  const ArrayNode& array = matrix_arg(object);
  if (array.rows != array.columns) fail(invalid_dimension);
  return array;
}

// A real or complex number.
inline const Object& number_arg(const Object& object) {
  if (!object.is_number()) fail(bad_argument_type);
  return object;
}

// Dimensions given as { n } (a vector) or { m n } (a matrix): positive integers, within
// the size allowed.
Shape shape_arg(const Object& dimensions);

// 1..limit from a real (truncated), else Bad Argument Value; Bad Argument Type if not a real.
std::uint32_t position_arg(const Object& object, std::uint32_t limit);

// An array given directly, or by the name of a variable holding one (CON IDN RDM TRN):
// `target` is then that name, and the result goes back into the variable.
struct ArrayTarget {
  Object array;
  const Object* name = nullptr;
};
ArrayTarget array_target(Machine& m, const Object& object);
void give_back(Machine& m, const ArrayTarget& target, Object result);

// A computed array or number, its condition settled by the flags.
Object settled_array(Machine& m, const MatrixResult& result, bool as_vector);

// The zero of an array's kind, and a number converted to it.
Object zero_element(bool complex);

}  // namespace rplrun
