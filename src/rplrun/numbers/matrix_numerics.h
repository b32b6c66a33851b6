// The factorizations and spectra of matrices (QR, LQ, SVD, the eigenvalues and the Schur
// form, RREF, RANK, LSQ, RSD). They are computed in binary long double (a 64-bit
// significand: about 19 digits, and an exponent range that holds the square of any real),
// by Eigen's solvers and by the reflections written here, whose signs are the
// calculator's; each result element is then rounded once to 12 digits.
//
// `drop_tiny` (flag -54 clear): a part of an element smaller than 1E-15 times the largest
// modulus of its array is computation noise and becomes exactly zero. Results that may
// be complex (eigenvalues of a real matrix, transforms, roots) are real arrays when
// every imaginary part is then zero.
#pragma once

#include "numbers/linear_algebra.h"

namespace rplrun {

struct QrFactors {
  MatrixResult q;  // m x m, unitary
  MatrixResult r;  // m x n, upper trapezoidal, A P = Q R
  MatrixResult p;  // n x n column permutation: the largest remaining column first
};
QrFactors qr_factors(const Matrix& a, bool drop_tiny);

struct LqFactors {
  MatrixResult l;  // m x n, lower trapezoidal, P A = L Q
  MatrixResult q;  // n x n, unitary
  MatrixResult p;  // m x m row permutation
};
LqFactors lq_factors(const Matrix& a, bool drop_tiny);

struct SvdFactors {
  MatrixResult u;  // m x m, unitary
  MatrixResult v;  // n x n, unitary: A = U diag(S) V
  MatrixResult s;  // the singular values, largest first, min(m, n) of them (a column)
};
SvdFactors svd_factors(const Matrix& a, bool drop_tiny);
MatrixResult singular_values(const Matrix& a, bool drop_tiny);

struct EigenFactors {
  MatrixResult vectors;  // the right eigenvectors as columns, each of length 1
  MatrixResult values;   // a column
};
// Of a square matrix; `with_vectors` false leaves `vectors` empty.
EigenFactors eigen_factors(const Matrix& a, bool with_vectors, bool drop_tiny);

struct SchurFactors {
  MatrixResult q;  // unitary (orthogonal for a real matrix)
  MatrixResult t;  // upper triangular; quasi-triangular for a real matrix: A = Q T Q*
};
SchurFactors schur_factors(const Matrix& a, bool drop_tiny);

MatrixResult reduced_row_echelon(const Matrix& a, bool drop_tiny);
std::uint32_t matrix_rank(const Matrix& a);
RealResult spectral_norm(const Matrix& a);    // the largest singular value
RealResult spectral_radius(const Matrix& a);  // the largest modulus of an eigenvalue
// The minimum-norm least-squares solution X of A X = B (B with as many rows as A).
MatrixResult least_squares(const Matrix& b, const Matrix& a, bool drop_tiny);
// B - A Z, sums of products in long double.
MatrixResult residual(const Matrix& b, const Matrix& a, const Matrix& z);

}  // namespace rplrun
