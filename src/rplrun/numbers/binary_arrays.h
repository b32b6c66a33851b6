// Arrays in binary long double, for the computations done with Eigen (matrix_numerics.h,
// fourier_polynomials.h): the 12-digit elements loaded, and the results rounded back
// once to 12 digits.
#pragma once

#include <complex>

#include <Eigen/Dense>

#include "numbers/linear_algebra.h"

namespace rplrun::binary_arrays {

using Ld = long double;
using Cx = std::complex<Ld>;
template <class S>
using Dense = Eigen::Matrix<S, Eigen::Dynamic, Eigen::Dynamic>;
template <class S>
using Column = Eigen::Matrix<S, Eigen::Dynamic, 1>;

Ld to_binary(Real x);
// 18 significant digits of x, then one rounding to the real's 12; an infinity is an
// overflow, not a number an undefined result.
RealResult to_real(Ld x);

inline Ld real_part(Ld x) { return x; }
inline Ld real_part(const Cx& z) { return z.real(); }
inline Ld imaginary_part(Ld) { return 0; }
inline Ld imaginary_part(const Cx& z) { return z.imag(); }
inline Ld conjugate(Ld x) { return x; }
inline Cx conjugate(const Cx& z) { return std::conj(z); }

// The elements of an array, as reals (S = Ld) or complex numbers (S = Cx).
template <class S>
Dense<S> load(const Matrix& a) {
  Dense<S> out(a.rows, a.columns);
  for (std::uint32_t i = 0; i < a.rows; ++i) {
    for (std::uint32_t j = 0; j < a.columns; ++j) {
      const Complex& z = a.at(i, j);
      if constexpr (std::is_same_v<S, Ld>)
        out(i, j) = to_binary(z.re);
      else
        out(i, j) = Cx(to_binary(z.re), to_binary(z.im));
    }
  }
  return out;
}

template <class S>
Ld largest_modulus(const Dense<S>& m) {
  Ld largest = 0;
  for (Eigen::Index k = 0; k < m.size(); ++k) largest = std::max(largest, std::abs(m.data()[k]));
  return largest;
}

// Below this fraction of the largest modulus of its array, a part of an element is
// computation noise, dropped while flag -54 is clear.
constexpr Ld tiny_fraction = 1e-15L;

// The elements of `m` rounded to 12 digits, a complex array if `complex` (else the
// imaginary parts are left out).
template <class S>
MatrixResult round_out(const Dense<S>& m, bool complex, bool drop_tiny) {
  const Ld tiny = drop_tiny ? largest_modulus(m) * tiny_fraction : 0;
  auto clean = [&](Ld x) { return std::abs(x) < tiny ? Ld(0) : x; };
  MatrixResult out;
  out.value.rows = static_cast<std::uint32_t>(m.rows());
  out.value.columns = static_cast<std::uint32_t>(m.cols());
  out.value.is_complex = complex;
  for (Eigen::Index i = 0; i < m.rows(); ++i) {
    for (Eigen::Index j = 0; j < m.cols(); ++j) {
      const RealResult re = to_real(clean(real_part(m(i, j))));
      const RealResult im = to_real(clean(imaginary_part(m(i, j))));
      out.condition = worse(out.condition, worse(re.condition, im.condition));
      out.value.values.push_back({re.value, complex ? im.value : Real()});
    }
  }
  return out;
}

// Complex elements, made a real array when every imaginary part rounds to zero.
MatrixResult round_out_maybe_real(const Dense<Cx>& m, bool drop_tiny);

// The eigenvalues (and, when asked for, the eigenvectors) of a square array, and its Schur
// form a = u t u*. When the iteration does not converge every element is NaN, which
// rounds out as an Undefined Result.
//
// Eigen's complex Schur reduction reads before the start of its matrix when the block at
// the top goes ten steps without converging (the exceptional shift looks at an element
// left of that block), so complex arrays are reduced bordered by a leading zero row and
// column: the zero splits off at once, every step then stays inside the matrix, and the
// rest reduces exactly as the array alone would.
struct EigenSystem {
  Column<Cx> values;  // complex arrays: by increasing modulus
  Dense<Cx> vectors;
};
EigenSystem eigen_system(const Dense<Cx>& a, bool with_vectors);
EigenSystem eigen_system(const Dense<Ld>& a, bool with_vectors);
template <class S>
struct SchurForm {
  Dense<S> u;  // unitary
  Dense<S> t;  // upper (quasi-)triangular
};
SchurForm<Cx> schur_form(const Dense<Cx>& a);
SchurForm<Ld> schur_form(const Dense<Ld>& a);

}  // namespace rplrun::binary_arrays
