// The Fourier transforms (FFT IFFT) and the polynomials held in vectors of coefficients,
// the highest power first (PCOEF PEVAL PROOT).
#include "commands/array_support.h"
#include "numbers/fourier_polynomials.h"

namespace rplrun {

namespace {

bool drop_tiny(const Machine& m) { return !m.flags.test(-54); }

bool power_of_two(std::uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

// A vector of 2^k elements, or a matrix of 2^j rows and 2^k columns.
template <bool inverse>
void fourier(Machine& m, const Args& a) {
  const ArrayNode& x = array_arg(a[1]);
  if (!power_of_two(x.rows) || !power_of_two(x.columns)) fail(invalid_dimension);
  m.push(settled_array(m, fourier_transform(to_matrix(x), inverse, drop_tiny(m)), !x.is_matrix));
}

const ArrayNode& vector_arg(const Object& object) {
  const ArrayNode& v = array_arg(object);
  if (v.is_matrix) fail(invalid_dimension);
  return v;
}

void pcoef(Machine& m, const Args& a) {
  m.push(settled_array(m, coefficients_of_roots(to_matrix(vector_arg(a[1])), drop_tiny(m)), true));
}

void peval(Machine& m, const Args& a) {
  const ArrayNode& p = vector_arg(a[2]);
  const Object& x = number_arg(a[1]);
  const bool complex = p.is_complex || x.is(Kind::complex);
  m.push(settled(m, polynomial_value(to_matrix(p), x.to_complex(), complex)));
}

// A polynomial without roots (a constant, or every coefficient zero) is Bad Argument
// Value.
void proot(Machine& m, const Args& a) {
  const ArrayNode& p = vector_arg(a[1]);
  std::size_t first = 0;
  while (first < p.elements.size() && p.elements[first].to_complex() == Complex{}) ++first;
  if (p.elements.size() - first < 2) fail(bad_argument_value);
  m.push(settled_array(m, polynomial_roots(to_matrix(p), drop_tiny(m)), true));
}

constexpr CommandRow rows[] = {
    {"FFT", 1, fourier<false>}, {"IFFT", 1, fourier<true>}, {"PCOEF", 1, pcoef},
    {"PEVAL", 2, peval},        {"PROOT", 1, proot},
};

}  // namespace

std::span<const CommandRow> transform_commands() { return rows; }

}  // namespace rplrun
