#include "numbers/binary_arrays.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace rplrun::binary_arrays {

Ld to_binary(Real x) {
  const Real::Decimal d = x.decimal();
  char text[48];
  std::snprintf(text, sizeof text, "%s%llue%d", d.negative ? "-" : "",
                static_cast<unsigned long long>(d.coefficient), d.exponent);
  return std::strtold(text, nullptr);
}

RealResult to_real(Ld x) {
  if (std::isnan(x)) return {Real(), Condition::undefined_result};
  if (std::isinf(x)) return Real::from_decimal(x < 0, 1, 1000);
  if (x == 0) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%.17Le", x);
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  std::uint64_t coefficient = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') coefficient = coefficient * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return Real::from_decimal(negative, coefficient, std::atoi(p + 1) - 17);
}

MatrixResult round_out_maybe_real(const Dense<Cx>& m, bool drop_tiny) {
  MatrixResult out = round_out(m, true, drop_tiny);
  out.value.is_complex = !std::all_of(out.value.values.begin(), out.value.values.end(),
                                      [](const Complex& z) { return z.im.is_zero(); });
  return out;
}

namespace {

Dense<Cx> bordered(const Dense<Cx>& a) {
  Dense<Cx> b = Dense<Cx>::Zero(a.rows() + 1, a.cols() + 1);
  b.bottomRightCorner(a.rows(), a.cols()) = a;
  return b;
}

template <class S>
Dense<S> not_a_number(Eigen::Index rows, Eigen::Index columns) {
  return Dense<S>::Constant(rows, columns, S(std::numeric_limits<Ld>::quiet_NaN()));
}

template <class Solver>
EigenSystem eigen_system_of(const Solver& solver, Eigen::Index n, bool with_vectors) {
  if (solver.info() != Eigen::Success)
    return {not_a_number<Cx>(n, 1), with_vectors ? not_a_number<Cx>(n, n) : Dense<Cx>()};
  EigenSystem out;
  out.values = solver.eigenvalues().tail(n);
  if (with_vectors) out.vectors = solver.eigenvectors().bottomRightCorner(n, n);
  return out;
}

template <class S, class Schur>
SchurForm<S> schur_form_of(const Schur& schur, Eigen::Index n) {
  if (schur.info() != Eigen::Success) return {not_a_number<S>(n, n), not_a_number<S>(n, n)};
  return {schur.matrixU().bottomRightCorner(n, n), schur.matrixT().bottomRightCorner(n, n)};
}

}  // namespace

EigenSystem eigen_system(const Dense<Cx>& a, bool with_vectors) {
  // The border's eigenvalue is an exact zero and sorts first (the first of the smallest
  // moduli); its vector is the first unit vector, and every other vector is zero there.
  const Eigen::ComplexEigenSolver<Dense<Cx>> solver(bordered(a), with_vectors);
  return eigen_system_of(solver, a.rows(), with_vectors);
}

EigenSystem eigen_system(const Dense<Ld>& a, bool with_vectors) {
  const Eigen::EigenSolver<Dense<Ld>> solver(a, with_vectors);
  return eigen_system_of(solver, a.rows(), with_vectors);
}

SchurForm<Cx> schur_form(const Dense<Cx>& a) {
  return schur_form_of<Cx>(Eigen::ComplexSchur<Dense<Cx>>(bordered(a)), a.rows());
}

SchurForm<Ld> schur_form(const Dense<Ld>& a) {
  return schur_form_of<Ld>(Eigen::RealSchur<Dense<Ld>>(a), a.rows());
}

}  // namespace rplrun::binary_arrays
