// The discrete Fourier transform, and polynomials held as columns of coefficients, the
// highest power first: in binary long double, each result element rounded once to 12
// digits (binary_arrays.h); `drop_tiny` and the real results as in matrix_numerics.h.
#pragma once

#include "numbers/linear_algebra.h"

namespace rplrun {

// The discrete Fourier transform of a column (a vector) or of a matrix (its rows, then
// its columns), sizes powers of two; the inverse divides by the number of elements.
MatrixResult fourier_transform(const Matrix& a, bool inverse, bool drop_tiny);

MatrixResult coefficients_of_roots(const Matrix& roots, bool drop_tiny);  // monic
NumberResult polynomial_value(const Matrix& coefficients, const Complex& x, bool complex);
// The roots of a polynomial of degree 1 or more (leading zero coefficients dropped), the
// smallest in modulus first.
MatrixResult polynomial_roots(const Matrix& coefficients, bool drop_tiny);

}  // namespace rplrun
