#include "objects/elements.h"

#include "objects/array.h"
#include "objects/errors.h"

namespace rplrun {

namespace {

std::int64_t index_value(const Object& index) {
  if (!index.is(Kind::real)) fail(bad_argument_type);
  const std::int64_t value = index.as_real().int64_toward_zero();
  return value;
}

std::size_t checked(std::int64_t one_based, std::size_t limit) {
  if (one_based < 1 || static_cast<std::uint64_t>(one_based) > limit) fail(bad_argument_value);
  return static_cast<std::size_t>(one_based - 1);
}

}  // namespace

std::size_t element_count(const Object& container) {
  if (container.is(Kind::list)) return container.items().size();
  if (container.is(Kind::array)) return container.node_as<ArrayNode>().elements.size();
  fail(bad_argument_type);
}

std::size_t element_offset(const Object& container, const Object* indices, std::size_t count) {
  if (container.is(Kind::list)) {
    if (count != 1) fail(bad_argument_value);
    return checked(index_value(indices[0]), container.items().size());
  }
  if (!container.is(Kind::array)) fail(bad_argument_type);
  const ArrayNode& a = container.node_as<ArrayNode>();
  if (count == 1) return checked(index_value(indices[0]), a.elements.size());
  if (count == 2 && a.is_matrix) {
    const std::size_t row = checked(index_value(indices[0]), a.rows);
    const std::size_t column = checked(index_value(indices[1]), a.columns);
    return row * a.columns + column;
  }
  fail(bad_argument_value);
}

std::size_t element_offset(const Object& container, const Object& index) {
  if (index.is(Kind::list)) {
    const auto& items = index.items();
    if (items.empty() || items.size() > 2) fail(bad_argument_value);
    if (container.is(Kind::list) && items.size() != 1) fail(bad_argument_value);
    return element_offset(container, items.data(), items.size());
  }
  return element_offset(container, &index, 1);
}

Object element_at(const Object& container, std::size_t offset) {
  if (container.is(Kind::list)) return container.items()[offset];
  return container.node_as<ArrayNode>().elements[offset];
}

void put_element(Object& container, std::size_t offset, Object value) {
  if (container.is(Kind::list)) {
    if (container.replace_in_place(offset, value)) return;
    std::vector<Object> items = copy_items(container.items());
    items[offset] = std::move(value);
    container = Object::list(std::move(items));
    return;
  }
  const ArrayNode& a = container.node_as<ArrayNode>();
  if (!value.is_number()) fail(bad_argument_type);
  if (value.is(Kind::complex) && !a.is_complex) fail(bad_argument_type);
  Object element = a.is_complex ? Object::complex(value.to_complex()) : std::move(value);
  if (container.replace_in_place(offset, element)) return;
  std::vector<Object> elements = a.elements;
  elements[offset] = std::move(element);
  container = a.is_matrix ? make_matrix(std::move(elements), a.rows, a.columns)
                          : make_vector(std::move(elements));
}

Object with_element(const Object& container, std::size_t offset, Object value) {
  Object result = container;  // shares the node: put_element makes a new one
  put_element(result, offset, std::move(value));
  return result;
}

Object next_index(const Object& container, const Object& index, std::size_t offset, bool& wrapped) {
  const std::size_t count = element_count(container);
  std::size_t next = offset + 1;
  wrapped = next >= count;
  if (wrapped) next = 0;
  if (index.is(Kind::list) && container.is(Kind::array) &&
      container.node_as<ArrayNode>().is_matrix && index.items().size() == 2) {
    const std::uint32_t columns = container.node_as<ArrayNode>().columns;
    return Object::list({Object::real(Real::from_uint64(next / columns + 1)),
                         Object::real(Real::from_uint64(next % columns + 1))});
  }
  if (index.is(Kind::list)) return Object::list({Object::real(Real::from_uint64(next + 1))});
  return Object::real(Real::from_uint64(next + 1));
}

}  // namespace rplrun
