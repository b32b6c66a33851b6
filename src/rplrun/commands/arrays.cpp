// Arrays built and taken apart: \->ARRY ARRY\-> CON IDN RDM RANM TRN, rows and
// columns (\->ROW ROW\-> \->COL COL\-> ROW+ ROW- COL+ COL- RSWP CSWP RCI RCIJ) and
// diagonals (\->DIAG DIAG\->). A vector stands for one row where a command works on
// rows, and for its elements where it works on columns.
#include <algorithm>

#include "commands/array_support.h"
#include "numbers/linear_algebra.h"

namespace rplrun {

namespace {

using Elements = std::vector<Object>;

const Object& element(const ArrayNode& a, std::uint32_t row, std::uint32_t column) {
  return a.elements[static_cast<std::size_t>(row) * a.columns + column];
}

Object row_of(const ArrayNode& a, std::uint32_t row) {
  const auto begin = a.elements.begin() + static_cast<std::ptrdiff_t>(row) * a.columns;
  return make_vector(Elements(begin, begin + a.columns));
}

Object column_of(const ArrayNode& a, std::uint32_t column) {
  Elements elements;
  for (std::uint32_t r = 0; r < a.rows; ++r) elements.push_back(element(a, r, column));
  return make_vector(std::move(elements));
}

// The objects of the top n stack levels, deepest first, left on the stack.
std::span<const Object> top_levels(Machine& m, std::size_t n) {
  m.require(n);
  return {m.stack().data() + m.stack().size() - n, n};
}

void drop_levels(Machine& m, std::size_t n) { m.stack().resize(m.stack().size() - n); }

// ---- whole arrays

void to_array(Machine& m, const Args& a) {
  Shape shape;
  if (a[1].is(Kind::list)) {
    shape = shape_arg(a[1]);
  } else {
    shape.columns = position_arg(a[1], static_cast<std::uint32_t>(max_array_elements));
  }
  const auto levels = top_levels(m, shape.count());
  for (const Object& x : levels) number_arg(x);
  Elements elements(levels.begin(), levels.end());
  drop_levels(m, shape.count());
  m.push(make_array(std::move(elements), shape));
}

void array_to(Machine& m, const Args& a) {
  const ArrayNode& array = array_arg(a[1]);
  for (const Object& e : array.elements) m.push(e);
  Elements size{integer_object(array.is_matrix ? array.rows : array.columns)};
  if (array.is_matrix) size.push_back(integer_object(array.columns));
  m.push(Object::list(std::move(size)));
}

void con(Machine& m, const Args& a) {
  const Object& value = number_arg(a[1]);
  if (a[2].is(Kind::list)) {
    const Shape shape = shape_arg(a[2]);
    m.push(make_array(Elements(shape.count(), value), shape));
    return;
  }
  const ArrayTarget target = array_target(m, a[2]);
  const ArrayNode& array = target.array.node_as<ArrayNode>();
  if (value.is(Kind::complex) && !array.is_complex) fail(bad_argument_type);
  const Object fill = array.is_complex ? Object::complex(value.to_complex()) : value;
  give_back(m, target, make_array(Elements(array.elements.size(), fill), shape_of(array)));
}

Object identity(std::uint32_t n, bool complex) {
  if (static_cast<std::size_t>(n) * n > max_array_elements) fail(insufficient_memory);
  Elements elements(static_cast<std::size_t>(n) * n, zero_element(complex));
  const Object one =
      complex ? Object::complex(Complex{Real::from_int64(1), Real()}) : integer_object(1);
  for (std::uint32_t i = 0; i < n; ++i) elements[static_cast<std::size_t>(i) * n + i] = one;
  return make_matrix(std::move(elements), n, n);
}

void idn(Machine& m, const Args& a) {
  if (a[1].is(Kind::real)) {
    m.push(identity(position_arg(a[1], static_cast<std::uint32_t>(max_array_elements)), false));
    return;
  }
  const ArrayTarget target = array_target(m, a[1]);
  const ArrayNode& array = square_matrix_arg(target.array);
  give_back(m, target, identity(array.rows, array.is_complex));
}

void rdm(Machine& m, const Args& a) {
  const ArrayTarget target = array_target(m, a[2]);
  const Shape shape = shape_arg(a[1]);
  const ArrayNode& array = target.array.node_as<ArrayNode>();
  Elements elements(shape.count(), zero_element(array.is_complex));
  std::copy_n(array.elements.begin(), std::min(elements.size(), array.elements.size()),
              elements.begin());
  give_back(m, target, make_array(std::move(elements), shape));
}

// Random integers from -9 to 9, each drawn from the generator of RAND (unverified: how
// the calculator turns its draw into an integer).
void ranm(Machine& m, const Args& a) {
  const Shape shape = a[1].is(Kind::list) ? shape_arg(a[1]) : shape_of(array_arg(a[1]));
  Elements elements;
  elements.reserve(shape.count());
  // IP(20 RAND - 10): each digit from -9 to 9 has a chance of .05, and 0 of .1 (its
  // interval is twice as wide), as on the calculator.
  const Real twenty = Real::from_int64(20);
  const Real ten = Real::from_int64(10);
  for (std::size_t k = 0; k < shape.count(); ++k) {
    const Real draw = subtract(multiply(m.random.next(), twenty).value, ten).value;
    elements.push_back(integer_object(draw.int64_toward_zero()));
  }
  m.push(make_array(std::move(elements), shape));
}

// The transpose; of a complex matrix, the conjugate transpose.
void trn(Machine& m, const Args& a) {
  const ArrayTarget target = array_target(m, a[1]);
  const ArrayNode& array = matrix_arg(target.array);
  Elements elements;
  elements.reserve(array.elements.size());
  for (std::uint32_t c = 0; c < array.columns; ++c) {
    for (std::uint32_t r = 0; r < array.rows; ++r) {
      const Object& e = element(array, r, c);
      elements.push_back(array.is_complex ? Object::complex(conj(e.as_complex())) : e);
    }
  }
  give_back(m, target, make_matrix(std::move(elements), array.columns, array.rows));
}

// ---- rows and columns

// \->ROW and \->COL: a matrix's rows or columns as vectors, a vector's elements; then
// the count.
template <bool rows>
void split(Machine& m, const Args& a) {
  const ArrayNode& array = array_arg(a[1]);
  if (!array.is_matrix) {
    for (const Object& e : array.elements) m.push(e);
    m.push(integer_object(array.columns));
    return;
  }
  const std::uint32_t count = rows ? array.rows : array.columns;
  for (std::uint32_t k = 0; k < count; ++k) m.push(rows ? row_of(array, k) : column_of(array, k));
  m.push(integer_object(count));
}

// ROW\-> and COL\->: n vectors of one length become the rows or columns of a matrix; n
// numbers a vector.
template <bool rows>
void join(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  if (n == 0) fail(bad_argument_value);
  const auto levels = top_levels(m, n);
  if (levels.front().is_number()) {
    for (const Object& x : levels) number_arg(x);
    Elements elements(levels.begin(), levels.end());
    drop_levels(m, n);
    m.push(make_vector(std::move(elements)));
    return;
  }
  const std::uint32_t length = array_arg(levels.front()).columns;
  for (const Object& x : levels) {
    const ArrayNode& v = array_arg(x);
    if (v.is_matrix) fail(bad_argument_type);
    if (v.columns != length) fail(invalid_dimension);
  }
  if (n * length > max_array_elements) fail(insufficient_memory);
  const auto count = static_cast<std::uint32_t>(n);
  Elements elements(n * length);
  for (std::uint32_t k = 0; k < count; ++k) {
    const ArrayNode& v = levels[k].node_as<ArrayNode>();
    for (std::uint32_t i = 0; i < length; ++i) {
      elements[rows ? static_cast<std::size_t>(k) * length + i
                    : static_cast<std::size_t>(i) * count + k] = v.elements[i];
    }
  }
  drop_levels(m, n);
  m.push(rows ? make_matrix(std::move(elements), count, length)
              : make_matrix(std::move(elements), length, count));
}

// The elements of a matrix as a grid of rows, for inserting and removing whole rows;
// columns are handled as the rows of the transpose.
struct Grid {
  std::vector<Elements> lines;
  std::uint32_t width = 0;
};

Grid rows_of(const ArrayNode& a, bool transposed) {
  Grid g;
  const std::uint32_t count = transposed ? a.columns : a.rows;
  g.width = transposed ? a.rows : a.columns;
  for (std::uint32_t k = 0; k < count; ++k) {
    Elements line;
    for (std::uint32_t i = 0; i < g.width; ++i)
      line.push_back(transposed ? element(a, i, k) : element(a, k, i));
    g.lines.push_back(std::move(line));
  }
  return g;
}

Object matrix_of(const Grid& g, bool transposed) {
  const auto count = static_cast<std::uint32_t>(g.lines.size());
  Elements elements(static_cast<std::size_t>(count) * g.width);
  for (std::uint32_t k = 0; k < count; ++k) {
    for (std::uint32_t i = 0; i < g.width; ++i) {
      elements[transposed ? static_cast<std::size_t>(i) * count + k
                          : static_cast<std::size_t>(k) * g.width + i] = g.lines[k][i];
    }
  }
  return transposed ? make_matrix(std::move(elements), g.width, count)
                    : make_matrix(std::move(elements), count, g.width);
}

// ROW+ and COL+: a vector (one row or column) or a matrix (its rows or columns) inserted
// before position n (n = count + 1 appends); into a vector, a number.
template <bool columns>
void insert(Machine& m, const Args& a) {
  const ArrayNode& target = array_arg(a[3]);
  const Object& insertion = a[2];
  if (!target.is_matrix) {
    number_arg(insertion);
    const std::uint32_t at = position_arg(a[1], target.columns + 1);
    Elements elements = target.elements;
    elements.insert(elements.begin() + at - 1, insertion);
    m.push(make_vector(std::move(elements)));
    return;
  }
  Grid grid = rows_of(target, columns);
  const std::uint32_t at = position_arg(a[1], static_cast<std::uint32_t>(grid.lines.size()) + 1);
  Grid added;
  const ArrayNode& inserted = array_arg(insertion);
  if (inserted.is_matrix) {
    added = rows_of(inserted, columns);
  } else {
    added.lines.push_back(inserted.elements);
    added.width = inserted.columns;
  }
  if (added.width != grid.width) fail(invalid_dimension);
  if ((grid.lines.size() + added.lines.size()) * grid.width > max_array_elements)
    fail(insufficient_memory);
  grid.lines.insert(grid.lines.begin() + at - 1, added.lines.begin(), added.lines.end());
  m.push(matrix_of(grid, columns));
}

// ROW- and COL-: the array without row or column n, then what was taken out.
template <bool columns>
void remove(Machine& m, const Args& a) {
  const ArrayNode& target = array_arg(a[2]);
  if (!target.is_matrix) {
    const std::uint32_t at = position_arg(a[1], target.columns);
    if (target.columns == 1) fail(invalid_dimension);
    Elements elements = target.elements;
    Object taken = elements[at - 1];
    elements.erase(elements.begin() + at - 1);
    m.push(make_vector(std::move(elements)));
    m.push(std::move(taken));
    return;
  }
  Grid grid = rows_of(target, columns);
  const std::uint32_t at = position_arg(a[1], static_cast<std::uint32_t>(grid.lines.size()));
  if (grid.lines.size() == 1) fail(invalid_dimension);
  Object taken = make_vector(std::move(grid.lines[at - 1]));
  grid.lines.erase(grid.lines.begin() + at - 1);
  m.push(matrix_of(grid, columns));
  m.push(std::move(taken));
}

// RSWP and CSWP: rows or columns i and j exchanged; in a vector, elements.
template <bool columns>
void swap_lines(Machine& m, const Args& a) {
  const ArrayNode& target = array_arg(a[3]);
  if (!target.is_matrix) {
    const std::uint32_t i = position_arg(a[2], target.columns);
    const std::uint32_t j = position_arg(a[1], target.columns);
    Elements elements = target.elements;
    std::swap(elements[i - 1], elements[j - 1]);
    m.push(make_vector(std::move(elements)));
    return;
  }
  Grid grid = rows_of(target, columns);
  const auto count = static_cast<std::uint32_t>(grid.lines.size());
  const std::uint32_t i = position_arg(a[2], count);
  const std::uint32_t j = position_arg(a[1], count);
  std::swap(grid.lines[i - 1], grid.lines[j - 1]);
  m.push(matrix_of(grid, columns));
}

// The elements of row n of a matrix (element n of a vector), as offsets.
std::pair<std::size_t, std::size_t> row_span(const ArrayNode& a, const Object& n) {
  if (!a.is_matrix) {
    const std::uint32_t at = position_arg(n, a.columns);
    return {at - 1, at};
  }
  const std::uint32_t row = position_arg(n, a.rows);
  return {static_cast<std::size_t>(row - 1) * a.columns, static_cast<std::size_t>(row) * a.columns};
}

Object number_object(Machine& m, const NumberResult& r, bool complex) {
  m.flags.settle_condition(r.condition);
  return complex ? Object::complex(r.value) : Object::real(r.value.re);
}

// RCI: row n multiplied by x.
void rci(Machine& m, const Args& a) {
  const ArrayNode& target = array_arg(a[3]);
  const Object& x = number_arg(a[2]);
  const auto [begin, end] = row_span(target, a[1]);
  const bool complex = target.is_complex || x.is(Kind::complex);
  Elements elements = target.elements;
  for (std::size_t k = begin; k < end; ++k) {
    elements[k] = complex
                      ? number_object(m, multiply(x.to_complex(), elements[k].to_complex()), true)
                      : number_object(m, multiply(x.as_real(), elements[k].as_real()), false);
  }
  m.push(make_array(std::move(elements), shape_of(target)));
}

// RCIJ: x times row i added to row j.
void rcij(Machine& m, const Args& a) {
  const ArrayNode& target = array_arg(a[4]);
  const Object& x = number_arg(a[3]);
  const std::size_t from = row_span(target, a[2]).first;
  const auto [begin, end] = row_span(target, a[1]);
  const bool complex = target.is_complex || x.is(Kind::complex);
  Elements elements = target.elements;
  for (std::size_t k = 0; begin + k < end; ++k) {
    elements[begin + k] =
        number_object(m,
                      multiply_add(x.to_complex(), target.elements[from + k].to_complex(),
                                   target.elements[begin + k].to_complex(), complex),
                      complex);
  }
  m.push(make_array(std::move(elements), shape_of(target)));
}

// ---- diagonals

void to_diagonal(Machine& m, const Args& a) {
  const ArrayNode& array = matrix_arg(a[1]);
  Elements elements;
  for (std::uint32_t i = 0; i < std::min(array.rows, array.columns); ++i)
    elements.push_back(element(array, i, i));
  m.push(make_vector(std::move(elements)));
}

void from_diagonal(Machine& m, const Args& a) {
  const ArrayNode& diagonal = array_arg(a[2]);
  if (diagonal.is_matrix) fail(bad_argument_type);
  Shape shape = shape_arg(a[1]);
  if (!shape.is_matrix) shape = {shape.columns, shape.columns, true};
  if (shape.count() > max_array_elements) fail(insufficient_memory);
  Elements elements(shape.count(), zero_element(diagonal.is_complex));
  const std::uint32_t n = std::min({shape.rows, shape.columns, diagonal.columns});
  for (std::uint32_t i = 0; i < n; ++i)
    elements[static_cast<std::size_t>(i) * shape.columns + i] = diagonal.elements[i];
  m.push(make_array(std::move(elements), shape));
}

constexpr CommandRow rows[] = {
    {"\\->ARRY", 1, to_array},
    {"ARRY\\->", 1, array_to},
    {"CON", 2, con},
    {"IDN", 1, idn},
    {"RDM", 2, rdm},
    {"RANM", 1, ranm},
    {"TRN", 1, trn},
    {"\\->ROW", 1, split<true>},
    {"\\->COL", 1, split<false>},
    {"ROW\\->", 1, join<true>},
    {"COL\\->", 1, join<false>},
    {"ROW+", 3, insert<false>},
    {"COL+", 3, insert<true>},
    {"ROW-", 2, remove<false>},
    {"COL-", 2, remove<true>},
    {"RSWP", 3, swap_lines<false>},
    {"CSWP", 3, swap_lines<true>},
    {"RCI", 3, rci},
    {"RCIJ", 4, rcij},
    {"\\->DIAG", 1, to_diagonal},
    {"DIAG\\->", 2, from_diagonal},
};

}  // namespace

std::span<const CommandRow> array_commands() { return rows; }

}  // namespace rplrun
