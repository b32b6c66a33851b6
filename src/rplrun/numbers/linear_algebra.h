// The numbers of the array commands: dense matrices of reals or complex numbers, and
// the computations whose intermediates the calculator keeps in 15-digit extended reals
// (extended.h): sums of products, norms, and the LU factorization behind DET, INV and
// the solving /. Each result element is rounded once to 12 digits.
//
// A vector is given as a matrix of one column. Sizes are checked by the caller. The
// longer computations call `poll` between rows, so that the caller may stop them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "numbers/complex.h"
#include "numbers/real.h"

namespace rplrun {

struct Matrix {
  std::uint32_t rows = 0;
  std::uint32_t columns = 0;
  bool is_complex = false;      // false: every imaginary part is zero
  std::vector<Complex> values;  // in row order

  const Complex& at(std::uint32_t row, std::uint32_t column) const {
    return values[static_cast<std::size_t>(row) * columns + column];
  }
};

using Poll = std::function<void()>;

struct MatrixResult {
  Matrix value;
  Condition condition = Condition::none;  // the worst of the elements'
};

// The sum of the products of corresponding elements, without conjugation.
NumberResult dot(const Matrix& a, const Matrix& b);
// a (m x n) times b (n x p).
MatrixResult product(const Matrix& a, const Matrix& b, const Poll& poll = {});
// Two 3-vectors.
MatrixResult cross(const Matrix& a, const Matrix& b);
// x*y + z in one rounding (a row operation of RCIJ).
NumberResult multiply_add(const Complex& x, const Complex& y, const Complex& z, bool complex);

// Of a square matrix. `integer_result`: round to an integer when every element is one.
NumberResult determinant(const Matrix& a, bool integer_result, const Poll& poll = {});
NumberResult trace(const Matrix& a);
// Crout's factorization with partial pivoting, the one behind DET, INV and /: P A = L U,
// U with a unit diagonal. A zero pivot leaves the rest of its row of U zero.
struct LuFactors {
  MatrixResult l;
  MatrixResult u;
  MatrixResult p;
};
LuFactors lu_factors(const Matrix& a, const Poll& poll = {});
// A singular matrix gives an infinite result, its zero pivot replaced by MINR.
MatrixResult inverse(const Matrix& a, const Poll& poll = {});
// X with a X = b, for a square a and b with as many rows.
MatrixResult solve(const Matrix& a, const Matrix& b, const Poll& poll = {});

RealResult frobenius_norm(const Matrix& a);  // ABS
RealResult row_norm(const Matrix& a);        // RNRM: the largest sum of a row's moduli
RealResult column_norm(const Matrix& a);     // CNRM: the largest sum of a column's moduli

}  // namespace rplrun
