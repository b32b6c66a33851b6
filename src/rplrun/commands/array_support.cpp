#include "commands/array_support.h"

namespace rplrun {

namespace {
std::uint32_t dimension(const Object& object) {
  const std::int64_t n = integer_arg(object);
  if (n < 1) fail(bad_argument_value);
  if (static_cast<std::uint64_t>(n) > max_array_elements) fail(insufficient_memory);
  return static_cast<std::uint32_t>(n);
}
}  // namespace

Shape shape_arg(const Object& dimensions) {
  const auto& items = list_arg(dimensions);
  if (items.empty() || items.size() > 2) fail(bad_argument_value);
  Shape shape;
  if (items.size() == 1) {
    shape.columns = dimension(items[0]);
  } else {
    shape = {dimension(items[0]), dimension(items[1]), true};
  }
  if (shape.count() > max_array_elements) fail(insufficient_memory);
  return shape;
}

std::uint32_t position_arg(const Object& object, std::uint32_t limit) {
  const std::int64_t n = integer_arg(object);
  if (n < 1 || n > static_cast<std::int64_t>(limit)) fail(bad_argument_value);
  return static_cast<std::uint32_t>(n);
}

ArrayTarget array_target(Machine& m, const Object& object) {
  if (!object.is(Kind::name)) {
    array_arg(object);
    return {object, nullptr};
  }
  const Object* value = m.lookup(object);
  if (!value) fail(undefined_name);
  array_arg(*value);
  return {*value, &object};
}

void give_back(Machine& m, const ArrayTarget& target, Object result) {
  if (target.name)
    m.store(*target.name, std::move(result));
  else
    m.push(std::move(result));
}

Object settled_array(Machine& m, const MatrixResult& result, bool as_vector) {
  m.flags.settle_condition(result.condition);
  return from_matrix(result.value, as_vector);
}

Object zero_element(bool complex) {
  return complex ? Object::complex(Complex{}) : Object::real(Real());
}

}  // namespace rplrun
