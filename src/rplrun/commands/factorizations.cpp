// Factorizations and measures of matrices: LU QR LQ SVD SVL EGV EGVL SCHUR RREF RANK
// COND SNRM SRAD LSQ RSD. Each factor goes on the stack in the order the calculator
// documents (the first factor deepest); flag -54 clear drops tiny elements.
#include "commands/array_support.h"
#include "numbers/matrix_numerics.h"
#include "numbers/real_functions.h"

namespace rplrun {

namespace {

bool drop_tiny(const Machine& m) { return !m.flags.test(-54); }

Matrix any_matrix(const Object& object) { return to_matrix(matrix_arg(object)); }
Matrix square_matrix(const Object& object) { return to_matrix(square_matrix_arg(object)); }

void push(Machine& m, const MatrixResult& result, bool as_vector = false) {
  m.push(settled_array(m, result, as_vector));
}

void lu(Machine& m, const Args& a) {
  const LuFactors f = lu_factors(square_matrix(a[1]), [&m] { m.poll(); });
  push(m, f.l);
  push(m, f.u);
  push(m, f.p);
}

void qr(Machine& m, const Args& a) {
  const QrFactors f = qr_factors(any_matrix(a[1]), drop_tiny(m));
  push(m, f.q);
  push(m, f.r);
  push(m, f.p);
}

void lq(Machine& m, const Args& a) {
  const LqFactors f = lq_factors(any_matrix(a[1]), drop_tiny(m));
  push(m, f.l);
  push(m, f.q);
  push(m, f.p);
}

void svd(Machine& m, const Args& a) {
  const SvdFactors f = svd_factors(any_matrix(a[1]), drop_tiny(m));
  push(m, f.u);
  push(m, f.v);
  push(m, f.s, true);
}

void svl(Machine& m, const Args& a) {
  push(m, singular_values(any_matrix(a[1]), drop_tiny(m)), true);
}

void egv(Machine& m, const Args& a) {
  const EigenFactors f = eigen_factors(square_matrix(a[1]), true, drop_tiny(m));
  push(m, f.vectors);
  push(m, f.values, true);
}

void egvl(Machine& m, const Args& a) {
  push(m, eigen_factors(square_matrix(a[1]), false, drop_tiny(m)).values, true);
}

void schur(Machine& m, const Args& a) {
  const SchurFactors f = schur_factors(square_matrix(a[1]), drop_tiny(m));
  push(m, f.q);
  push(m, f.t);
}

void rref(Machine& m, const Args& a) {
  push(m, reduced_row_echelon(any_matrix(a[1]), drop_tiny(m)));
}

void rank(Machine& m, const Args& a) { m.push(integer_object(matrix_rank(any_matrix(a[1])))); }

// The column norm of the matrix times that of its inverse; a singular matrix is Infinite
// Result, as its inverse is.
void cond(Machine& m, const Args& a) {
  const Matrix x = square_matrix(a[1]);
  const MatrixResult inverted = inverse(x, [&m] { m.poll(); });
  m.flags.settle_condition(inverted.condition);
  m.push(settled(m, multiply(column_norm(x).value, column_norm(inverted.value).value)));
}

// Of a vector, its Euclidean length.
void snrm(Machine& m, const Args& a) {
  m.push(settled(m, spectral_norm(to_matrix(array_arg(a[1])))));
}

void srad(Machine& m, const Args& a) { m.push(settled(m, spectral_radius(square_matrix(a[1])))); }

// Rows of the right side: a vector's elements, a matrix's rows.
std::uint32_t height(const ArrayNode& array) {
  return array.is_matrix ? array.rows : array.columns;
}

// B A LSQ: X minimizing |A X - B|, the shortest such X.
void lsq(Machine& m, const Args& a) {
  const ArrayNode& b = array_arg(a[2]);
  const ArrayNode& x = matrix_arg(a[1]);
  if (height(b) != x.rows) fail(invalid_dimension);
  push(m, least_squares(to_matrix(b), to_matrix(x), drop_tiny(m)), !b.is_matrix);
}

// B A Z RSD: B - A Z.
void rsd(Machine& m, const Args& a) {
  const ArrayNode& b = array_arg(a[3]);
  const ArrayNode& x = matrix_arg(a[2]);
  const ArrayNode& z = array_arg(a[1]);
  if (b.is_matrix != z.is_matrix || height(b) != x.rows || height(z) != x.columns ||
      (b.is_matrix && b.columns != z.columns))
    fail(invalid_dimension);
  push(m, residual(to_matrix(b), to_matrix(x), to_matrix(z)), !b.is_matrix);
}

constexpr CommandRow rows[] = {
    {"LU", 1, lu},     {"QR", 1, qr},     {"LQ", 1, lq},       {"SVD", 1, svd},   {"SVL", 1, svl},
    {"EGV", 1, egv},   {"EGVL", 1, egvl}, {"SCHUR", 1, schur}, {"RREF", 1, rref}, {"RANK", 1, rank},
    {"COND", 1, cond}, {"SNRM", 1, snrm}, {"SRAD", 1, srad},   {"LSQ", 2, lsq},   {"RSD", 3, rsd},
};

}  // namespace

std::span<const CommandRow> factorization_commands() { return rows; }

}  // namespace rplrun
