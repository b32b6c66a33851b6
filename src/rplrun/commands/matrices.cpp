// Arithmetic on arrays: DOT CROSS DET TRACE RNRM CNRM, and the array forms of the
// arithmetic commands (+ - * / NEG INV SQ ABS CONJ RE IM R\->C C\->R RND TRNC) and of
// SUB and REPL, which the command table joins to those commands' rows.
#include "commands/array_support.h"
#include "numbers/linear_algebra.h"
#include "objects/elements.h"

namespace rplrun {

namespace {

using Elements = std::vector<Object>;

Matrix numbers(const Object& array) { return to_matrix(array_arg(array)); }

// Lets Ctrl-C and --timeout stop a long computation.
Poll poll_of(Machine& m) {
  return [&m] { m.poll(); };
}

// ---- commands of their own

void dot_(Machine& m, const Args& a) {
  const ArrayNode& x = array_arg(a[2]);
  const ArrayNode& y = array_arg(a[1]);
  if (shape_of(x) != shape_of(y)) fail(invalid_dimension);
  m.push(settled(m, dot(to_matrix(x), to_matrix(y))));
}

// A vector of 2 or 3 elements as 3 numbers (the third zero).
Matrix space_vector(const Object& object) {
  const ArrayNode& v = array_arg(object);
  if (v.is_matrix || v.columns < 2 || v.columns > 3) fail(invalid_dimension);
  Matrix m = to_matrix(v);
  m.rows = 3;
  m.values.resize(3);
  return m;
}

void cross_(Machine& m, const Args& a) {
  const Matrix x = space_vector(a[2]);
  const Matrix y = space_vector(a[1]);
  m.push(settled_array(m, cross(x, y), true));
}

// With flag -54 clear (tiny elements dropped), the determinant of a matrix of integers
// is an integer (unverified).
void det(Machine& m, const Args& a) {
  const ArrayNode& x = square_matrix_arg(a[1]);
  m.push(settled(m, determinant(to_matrix(x), !m.flags.test(-54), poll_of(m))));
}

void trace_(Machine& m, const Args& a) {
  m.push(settled(m, trace(to_matrix(square_matrix_arg(a[1])))));
}

void rnrm(Machine& m, const Args& a) { m.push(settled(m, row_norm(numbers(a[1])))); }
void cnrm(Machine& m, const Args& a) { m.push(settled(m, column_norm(numbers(a[1])))); }

// ---- element by element

// Each element of an array through `f`, a function of a number giving a number.
template <class F>
Object each(const Object& array, F f) {
  const ArrayNode& x = array_arg(array);
  Elements elements;
  elements.reserve(x.elements.size());
  for (const Object& e : x.elements) elements.push_back(f(e));
  return make_array(std::move(elements), shape_of(x));
}

// x op y for two numbers of an array computation, settled.
Object combine(Machine& m, char op, const Object& x, const Object& y) {
  if (x.is(Kind::real) && y.is(Kind::real)) {
    const Real p = x.as_real();
    const Real q = y.as_real();
    switch (op) {
      case '+': return settled(m, add(p, q));
      case '-': return settled(m, subtract(p, q));
      case '*': return settled(m, multiply(p, q));
      default: return settled(m, divide(p, q));
    }
  }
  const Complex p = x.to_complex();
  const Complex q = y.to_complex();
  switch (op) {
    case '+': return settled(m, add(p, q));
    case '-': return settled(m, subtract(p, q));
    case '*': return settled(m, multiply(p, q));
    default: return settled(m, divide(p, q));
  }
}

// + and -: arrays of one shape, element by element.
template <char op>
void add_arrays(Machine& m, const Args& a) {
  const ArrayNode& x = array_arg(a[2]);
  const ArrayNode& y = array_arg(a[1]);
  if (shape_of(x) != shape_of(y)) fail(invalid_dimension);
  Elements elements;
  elements.reserve(x.elements.size());
  for (std::size_t k = 0; k < x.elements.size(); ++k)
    elements.push_back(combine(m, op, x.elements[k], y.elements[k]));
  m.push(make_array(std::move(elements), shape_of(x)));
}

// *: a number and an array either way round; a matrix times a matrix or a vector.
void times(Machine& m, const Args& a) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (x.is_number() || y.is_number()) {
    const Object& factor = x.is_number() ? x : y;
    const Object& array = x.is_number() ? y : x;
    m.push(each(array, [&](const Object& e) {
      return x.is_number() ? combine(m, '*', factor, e) : combine(m, '*', e, factor);
    }));
    return;
  }
  const ArrayNode& p = array_arg(x);
  const ArrayNode& q = array_arg(y);
  if (!p.is_matrix || p.columns != (q.is_matrix ? q.rows : q.columns)) fail(invalid_dimension);
  m.push(settled_array(m, product(to_matrix(p), to_matrix(q), poll_of(m)), !q.is_matrix));
}

// /: an array divided by a number, element by element; B / A the solution X of A X = B
// for a square matrix A and a vector or matrix B.
void divided(Machine& m, const Args& a) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (y.is_number()) {
    m.push(each(x, [&](const Object& e) { return combine(m, '/', e, y); }));
    return;
  }
  const ArrayNode& b = array_arg(x);
  const ArrayNode& divisor = square_matrix_arg(y);
  if ((b.is_matrix ? b.rows : b.columns) != divisor.rows) fail(invalid_dimension);
  m.push(settled_array(m, solve(to_matrix(divisor), to_matrix(b), poll_of(m)), !b.is_matrix));
}

void neg(Machine& m, const Args& a) {
  m.push(each(a[1], [](const Object& e) {
    return e.is(Kind::complex) ? Object::complex(negate(e.as_complex()))
                               : Object::real(negate(e.as_real()));
  }));
}

void conj_(Machine& m, const Args& a) {
  m.push(each(a[1], [](const Object& e) {
    return e.is(Kind::complex) ? Object::complex(conj(e.as_complex())) : e;
  }));
}

template <bool real_part>
void part(Machine& m, const Args& a) {
  m.push(each(a[1], [](const Object& e) {
    const Complex z = e.to_complex();
    return Object::real(real_part ? z.re : z.im);
  }));
}

void r_to_c(Machine& m, const Args& a) {
  const ArrayNode& re = array_arg(a[2]);
  const ArrayNode& im = array_arg(a[1]);
  if (re.is_complex || im.is_complex) fail(bad_argument_type);
  if (shape_of(re) != shape_of(im)) fail(invalid_dimension);
  Elements elements;
  for (std::size_t k = 0; k < re.elements.size(); ++k)
    elements.push_back(Object::complex({re.elements[k].as_real(), im.elements[k].as_real()}));
  m.push(make_array(std::move(elements), shape_of(re)));
}

void c_to_r(Machine& m, const Args& a) {
  const ArrayNode& z = array_arg(a[1]);
  if (!z.is_complex) fail(bad_argument_type);
  m.push(each(a[1], [](const Object& e) { return Object::real(e.as_complex().re); }));
  m.push(each(a[1], [](const Object& e) { return Object::real(e.as_complex().im); }));
}

void abs_(Machine& m, const Args& a) { m.push(settled(m, frobenius_norm(numbers(a[1])))); }

void inv(Machine& m, const Args& a) {
  m.push(settled_array(m, inverse(to_matrix(square_matrix_arg(a[1])), poll_of(m)), false));
}

void sq(Machine& m, const Args& a) {
  const Matrix x = to_matrix(square_matrix_arg(a[1]));
  m.push(settled_array(m, product(x, x, poll_of(m)), false));
}

// RND and TRNC of each element (both parts of a complex one).
template <RealResult (*op)(Real, Real)>
void round_elements(Machine& m, const Args& a) {
  const Real n = real_arg(a[1]);
  m.push(each(a[2], [&](const Object& e) {
    if (!e.is(Kind::complex)) return Object::real(m.flags.settle(op(e.as_real(), n)));
    const Complex z = e.as_complex();
    return Object::complex({m.flags.settle(op(z.re, n)), m.flags.settle(op(z.im, n))});
  }));
}

// ---- SUB and REPL

struct Corner {
  std::uint32_t row;
  std::uint32_t column;
};

// A position in an array: a real counting in row order, or { n } in a vector, or
// { row column } in a matrix.
Corner corner(const Object& array, const Object& position) {
  const ArrayNode& a = array.node_as<ArrayNode>();
  const std::size_t offset = element_offset(array, position);
  return {static_cast<std::uint32_t>(offset / a.columns),
          static_cast<std::uint32_t>(offset % a.columns)};
}

void sub(Machine& m, const Args& a) {
  const ArrayNode& x = array_arg(a[3]);
  const Corner from = corner(a[3], a[2]);
  const Corner to = corner(a[3], a[1]);
  if (to.row < from.row || to.column < from.column) fail(bad_argument_value);
  Elements elements;
  for (std::uint32_t r = from.row; r <= to.row; ++r) {
    for (std::uint32_t c = from.column; c <= to.column; ++c)
      elements.push_back(x.elements[static_cast<std::size_t>(r) * x.columns + c]);
  }
  m.push(make_array(std::move(elements),
                    {to.row - from.row + 1, to.column - from.column + 1, x.is_matrix}));
}

// The replacement's elements go in from the position on: a matrix as a block, a vector
// in row order. It must fit (unverified: the calculator may cut it instead).
void repl(Machine& m, const Args& a) {
  const ArrayNode& x = array_arg(a[3]);
  const ArrayNode& with = array_arg(a[1]);
  const Corner at = corner(a[3], a[2]);
  if (with.is_complex && !x.is_complex) fail(bad_argument_type);
  Elements elements = x.elements;
  auto put = [&](std::size_t offset, const Object& e) {
    elements[offset] = x.is_complex ? Object::complex(e.to_complex()) : e;
  };
  if (with.is_matrix && x.is_matrix) {
    if (at.row + with.rows > x.rows || at.column + with.columns > x.columns)
      fail(bad_argument_value);
    for (std::uint32_t r = 0; r < with.rows; ++r) {
      for (std::uint32_t c = 0; c < with.columns; ++c) {
        put(static_cast<std::size_t>(at.row + r) * x.columns + at.column + c,
            with.elements[static_cast<std::size_t>(r) * with.columns + c]);
      }
    }
  } else {
    const std::size_t start = static_cast<std::size_t>(at.row) * x.columns + at.column;
    if (start + with.elements.size() > x.elements.size()) fail(bad_argument_value);
    for (std::size_t k = 0; k < with.elements.size(); ++k) put(start + k, with.elements[k]);
  }
  m.push(make_array(std::move(elements), shape_of(x)));
}

constexpr CommandRow rows[] = {
    {"DOT", 2, dot_},     {"CROSS", 2, cross_}, {"DET", 1, det},
    {"TRACE", 1, trace_}, {"RNRM", 1, rnrm},    {"CNRM", 1, cnrm},
};

constexpr ArrayForm forms[] = {
    {"+", add_arrays<'+'>},
    {"-", add_arrays<'-'>},
    {"*", times},
    {"/", divided},
    {"NEG", neg},
    {"INV", inv},
    {"SQ", sq},
    {"ABS", abs_},
    {"CONJ", conj_},
    {"RE", part<true>},
    {"IM", part<false>},
    {"R\\->C", r_to_c},
    {"C\\->R", c_to_r},
    {"RND", round_elements<rnd>},
    {"TRNC", round_elements<trnc>},
    {"SUB", sub, true},
    {"REPL", repl, true},
};

}  // namespace

std::span<const CommandRow> matrix_commands() { return rows; }
std::span<const ArrayForm> array_forms() { return forms; }

}  // namespace rplrun
