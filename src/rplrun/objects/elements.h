// Elements of lists and arrays by index: GET, PUT and the 'v(i)' form.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/object.h"

namespace rplrun {

// The position (0-based, row order) that `index` designates in `container`: a real
// (1-based, also into a matrix in row order) or a list of one or two reals. Errors:
// Bad Argument Type for anything else, Bad Argument Value outside the container.
std::size_t element_offset(const Object& container, const Object& index);
// The same for indices given separately ('m(1,2)').
std::size_t element_offset(const Object& container, const Object* indices, std::size_t count);

std::size_t element_count(const Object& container);
Object element_at(const Object& container, std::size_t offset);
// Replaces one element of `container`: in place when nothing else holds its node (a
// list or array held only by a variable: PUT on its name), else in a new container.
// The value's rules are with_element's.
void put_element(Object& container, std::size_t offset, Object value);
// A new container with one element replaced. For an array the value must be a number
// (a real into a complex array becomes complex; a complex into a real array is a Bad
// Argument Type).
Object with_element(const Object& container, std::size_t offset, Object value);

// The next index after `offset` for GETI/PUTI, in the form of `index`; `wrapped` tells
// whether it went past the end back to the first element.
Object next_index(const Object& container, const Object& index, std::size_t offset, bool& wrapped);

}  // namespace rplrun
