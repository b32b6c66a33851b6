#include "numbers/matrix_numerics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "numbers/binary_arrays.h"
#include "numbers/real_functions.h"

namespace rplrun {

namespace {

using namespace binary_arrays;

// Column norms within this fraction of each other count as equal when choosing a pivot,
// so that the first of equal columns is taken whatever the rounding.
constexpr Ld pivot_tie = 1e-14L;
// Relative to the largest singular value (or element), what counts as zero for RANK,
// LSQ and the pivots of RREF.
constexpr Ld rank_tolerance = 1e-14L;

MatrixResult permutation(const std::vector<Eigen::Index>& order, bool columns) {
  const auto n = static_cast<Eigen::Index>(order.size());
  Dense<Ld> p = Dense<Ld>::Zero(n, n);
  for (Eigen::Index k = 0; k < n; ++k) {
    if (columns)
      p(order[k], k) = 1;
    else
      p(k, order[k]) = 1;
  }
  return round_out(p, false, false);
}

// x / |x|, and 1 for zero.
template <class S>
S phase(const S& x) {
  const Ld m = std::abs(x);
  return m == 0 ? S(1) : x / m;
}

// A Householder reflection H = I - 2 u u* / (u* u), Hermitian and unitary, taking x to
// -phase(x0) |x| e1. A zero column is left alone. QR reflects any other column, even one
// of a single element (whose sign changes); the bidiagonal form of SVD reflects only a
// column with non-zero elements below its first.
template <class S>
struct Reflection {
  Column<S> u;
  Ld scale = 0;  // 2 / (u* u); 0: the identity

  Reflection(const Column<S>& x, bool reflect_alone) : u(x) {
    const Ld norm = x.norm();
    if (norm == 0 || (!reflect_alone && x.tail(x.size() - 1).norm() == 0)) return;
    u(0) += phase(x(0)) * norm;
    scale = 2 / u.squaredNorm();
  }
  // H B
  template <class Block>
  void from_left(Block&& b) const {
    if (scale == 0) return;
    const Eigen::Matrix<S, 1, Eigen::Dynamic> w = u.adjoint() * b;
    b.noalias() -= (scale * u) * w;
  }
  // B H
  template <class Block>
  void from_right(Block&& b) const {
    if (scale == 0) return;
    const Column<S> w = b * u;
    b.noalias() -= (scale * w) * u.adjoint();
  }
};

// A P = Q R by reflections, the remaining column of largest norm first at each step.
template <class S>
void pivoted_qr(Dense<S> w, Dense<S>& q, Dense<S>& r, std::vector<Eigen::Index>& order) {
  const Eigen::Index m = w.rows();
  const Eigen::Index n = w.cols();
  q = Dense<S>::Identity(m, m);
  order.resize(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), Eigen::Index{0});
  for (Eigen::Index k = 0; k < std::min(m, n); ++k) {
    Eigen::Index best = k;
    Ld best_norm = w.col(k).tail(m - k).norm();
    for (Eigen::Index j = k + 1; j < n; ++j) {
      const Ld norm = w.col(j).tail(m - k).norm();
      if (norm > best_norm * (1 + pivot_tie)) {
        best = j;
        best_norm = norm;
      }
    }
    if (best != k) {
      w.col(k).swap(w.col(best));
      std::swap(order[static_cast<std::size_t>(k)], order[static_cast<std::size_t>(best)]);
    }
    const Reflection<S> h(Column<S>(w.col(k).tail(m - k)), true);
    h.from_left(w.bottomRightCorner(m - k, n - k));
    h.from_right(q.rightCols(m - k));
    w.col(k).tail(m - k - 1).setZero();
  }
  r = w;
}

template <class S>
QrFactors qr_of(const Matrix& a, bool drop_tiny) {
  Dense<S> q, r;
  std::vector<Eigen::Index> order;
  pivoted_qr<S>(load<S>(a), q, r, order);
  return {round_out(q, a.is_complex, drop_tiny), round_out(r, a.is_complex, drop_tiny),
          permutation(order, true)};
}

template <class S>
LqFactors lq_of(const Matrix& a, bool drop_tiny) {
  Dense<S> q, r;
  std::vector<Eigen::Index> order;
  pivoted_qr<S>(load<S>(a).adjoint(), q, r, order);
  return {round_out(Dense<S>(r.adjoint()), a.is_complex, drop_tiny),
          round_out(Dense<S>(q.adjoint()), a.is_complex, drop_tiny), permutation(order, false)};
}

// A = U diag(S) V for m >= n: reflections make A bidiagonal (A = Q B P*), Eigen's
// Jacobi SVD splits B, and each left singular vector of B has its largest component
// real and positive.
template <class S>
void tall_svd(const Dense<S>& a, Dense<S>& u, Dense<S>& v, Column<Ld>& s) {
  const Eigen::Index m = a.rows();
  const Eigen::Index n = a.cols();
  Dense<S> w = a;
  Dense<S> q = Dense<S>::Identity(m, m);
  Dense<S> p = Dense<S>::Identity(n, n);
  for (Eigen::Index k = 0; k < n; ++k) {
    const Reflection<S> left(Column<S>(w.col(k).tail(m - k)), false);
    left.from_left(w.bottomRightCorner(m - k, n - k));
    left.from_right(q.rightCols(m - k));
    if (k + 1 < n) {
      const Reflection<S> right(Column<S>(w.row(k).tail(n - k - 1).adjoint()), false);
      right.from_right(w.bottomRightCorner(m - k, n - k - 1));
      right.from_right(p.rightCols(n - k - 1));
    }
  }
  Dense<S> b = Dense<S>::Zero(n, n);
  for (Eigen::Index k = 0; k < n; ++k) {
    b(k, k) = w(k, k);
    if (k + 1 < n) b(k, k + 1) = w(k, k + 1);
  }
  Eigen::JacobiSVD<Dense<S>> split(b, Eigen::ComputeFullU | Eigen::ComputeFullV);
  Dense<S> ub = split.matrixU();
  Dense<S> vb = split.matrixV();
  for (Eigen::Index i = 0; i < n; ++i) {
    Eigen::Index top = 0;
    for (Eigen::Index k = 1; k < n; ++k) {
      if (std::abs(ub(k, i)) > std::abs(ub(top, i)) * (1 + pivot_tie)) top = k;
    }
    const S turn = conjugate(phase(ub(top, i)));
    ub.col(i) *= turn;
    vb.col(i) *= turn;
  }
  u = q;
  u.leftCols(n) = q.leftCols(n) * ub;
  v = (p * vb).adjoint();
  s = split.singularValues();
}

template <class S>
void full_svd(const Dense<S>& a, Dense<S>& u, Dense<S>& v, Column<Ld>& s) {
  if (a.rows() >= a.cols()) {
    tall_svd<S>(a, u, v, s);
    return;
  }
  // A* = U' S V' gives A = V'* S U'*.
  Dense<S> u2, v2;
  tall_svd<S>(a.adjoint(), u2, v2, s);
  u = v2.adjoint();
  v = u2.adjoint();
}

// The singular values as the calculator gives them: the square roots of the 12-digit
// eigenvalues of A* A (9.52551809156 for the largest of [[ 1 2 ][ 3 4 ][ 5 6 ]], whose
// 12 digits are 9.52551809157), though computed from A itself, so that small ones keep
// their precision.
MatrixResult round_singular_values(const Column<Ld>& s, bool drop_tiny) {
  MatrixResult out = round_out(Dense<Ld>(s), false, drop_tiny);
  for (Eigen::Index k = 0; k < s.size(); ++k) {
    Real& value = out.value.values[static_cast<std::size_t>(k)].re;
    if (value.is_zero() || s(k) > 1e249L || s(k) < 1e-249L) continue;
    value = square_root(to_real(s(k) * s(k)).value).value.re;
  }
  return out;
}

template <class S>
SvdFactors svd_of(const Matrix& a, bool drop_tiny) {
  Dense<S> u, v;
  Column<Ld> s;
  full_svd<S>(load<S>(a), u, v, s);
  return {round_out(u, a.is_complex, drop_tiny), round_out(v, a.is_complex, drop_tiny),
          round_singular_values(s, drop_tiny)};
}

template <class S>
Column<Ld> singular_values_of(const Dense<S>& a) {
  return Eigen::JacobiSVD<Dense<S>>(a).singularValues();
}

Column<Ld> singular_values_of(const Matrix& a) {
  return a.is_complex ? singular_values_of(load<Cx>(a)) : singular_values_of(load<Ld>(a));
}

// Each eigenvector of length 1, its largest component real and positive.
void normalize_columns(Dense<Cx>& vectors) {
  for (Eigen::Index j = 0; j < vectors.cols(); ++j) {
    auto v = vectors.col(j);
    const Ld norm = v.norm();
    if (norm == 0) continue;
    Eigen::Index top = 0;
    for (Eigen::Index k = 1; k < v.size(); ++k) {
      if (std::abs(v(k)) > std::abs(v(top)) * (1 + pivot_tie)) top = k;
    }
    v *= std::conj(phase(v(top))) / norm;
  }
}

EigenSystem eigen_of(const Matrix& a, bool with_vectors) {
  return a.is_complex ? eigen_system(load<Cx>(a), with_vectors)
                      : eigen_system(load<Ld>(a), with_vectors);
}

// Whether the real matrix has only real eigenvalues, judged on the rounded values.
MatrixResult values_out(const Matrix& a, const Column<Cx>& values, bool drop_tiny) {
  if (a.is_complex) return round_out(Dense<Cx>(values), true, drop_tiny);
  return round_out_maybe_real(Dense<Cx>(values), drop_tiny);
}

}  // namespace

QrFactors qr_factors(const Matrix& a, bool drop_tiny) {
  return a.is_complex ? qr_of<Cx>(a, drop_tiny) : qr_of<Ld>(a, drop_tiny);
}

LqFactors lq_factors(const Matrix& a, bool drop_tiny) {
  return a.is_complex ? lq_of<Cx>(a, drop_tiny) : lq_of<Ld>(a, drop_tiny);
}

SvdFactors svd_factors(const Matrix& a, bool drop_tiny) {
  return a.is_complex ? svd_of<Cx>(a, drop_tiny) : svd_of<Ld>(a, drop_tiny);
}

MatrixResult singular_values(const Matrix& a, bool drop_tiny) {
  return round_singular_values(singular_values_of(a), drop_tiny);
}

EigenFactors eigen_factors(const Matrix& a, bool with_vectors, bool drop_tiny) {
  EigenSystem eigen = eigen_of(a, with_vectors);
  const Column<Cx>& values = eigen.values;
  Dense<Cx>& vectors = eigen.vectors;
  EigenFactors out;
  out.values = values_out(a, values, drop_tiny);
  if (with_vectors) {
    normalize_columns(vectors);
    out.vectors = a.is_complex ? round_out(vectors, true, drop_tiny)
                               : round_out_maybe_real(vectors, drop_tiny);
    // Real eigenvalues with complex eigenvectors cannot be: keep the two forms alike.
    if (out.values.value.is_complex && !out.vectors.value.is_complex)
      out.vectors.value.is_complex = true;
  }
  return out;
}

SchurFactors schur_factors(const Matrix& a, bool drop_tiny) {
  if (a.is_complex) {
    const SchurForm<Cx> schur = schur_form(load<Cx>(a));
    return {round_out(schur.u, true, drop_tiny), round_out(schur.t, true, drop_tiny)};
  }
  const SchurForm<Ld> schur = schur_form(load<Ld>(a));
  return {round_out(schur.u, false, drop_tiny), round_out(schur.t, false, drop_tiny)};
}

MatrixResult reduced_row_echelon(const Matrix& a, bool drop_tiny) {
  Dense<Cx> w = load<Cx>(a);
  const Eigen::Index m = w.rows();
  const Eigen::Index n = w.cols();
  const Ld zero = largest_modulus(w) * rank_tolerance;
  Eigen::Index row = 0;
  for (Eigen::Index col = 0; col < n && row < m; ++col) {
    Eigen::Index pivot = row;
    for (Eigen::Index i = row + 1; i < m; ++i) {
      if (std::abs(w(i, col)) > std::abs(w(pivot, col))) pivot = i;
    }
    if (std::abs(w(pivot, col)) <= zero) {
      w.col(col).tail(m - row).setZero();
      continue;
    }
    w.row(row).swap(w.row(pivot));
    w.row(row) /= w(row, col);
    w(row, col) = 1;
    for (Eigen::Index i = 0; i < m; ++i) {
      if (i == row) continue;
      w.row(i) -= w(i, col) * w.row(row);
      w(i, col) = 0;
    }
    ++row;
  }
  return a.is_complex ? round_out(w, true, drop_tiny)
                      : round_out(Dense<Ld>(w.real()), false, drop_tiny);
}

std::uint32_t matrix_rank(const Matrix& a) {
  const Column<Ld> s = singular_values_of(a);
  if (s.size() == 0 || s(0) == 0) return 0;
  std::uint32_t rank = 0;
  for (Eigen::Index k = 0; k < s.size(); ++k) rank += s(k) > s(0) * rank_tolerance ? 1 : 0;
  return rank;
}

RealResult spectral_norm(const Matrix& a) {
  const MatrixResult s = round_singular_values(singular_values_of(a), false);
  return {s.value.values.front().re, s.condition};
}

RealResult spectral_radius(const Matrix& a) {
  const Column<Cx> values = eigen_of(a, false).values;
  if (values.hasNaN()) return to_real(std::numeric_limits<Ld>::quiet_NaN());
  return to_real(largest_modulus(Dense<Cx>(values)));
}

MatrixResult least_squares(const Matrix& b, const Matrix& a, bool drop_tiny) {
  const bool complex = a.is_complex || b.is_complex;
  Eigen::CompleteOrthogonalDecomposition<Dense<Cx>> cod;
  cod.setThreshold(rank_tolerance);
  cod.compute(load<Cx>(a));
  const Dense<Cx> x = cod.solve(load<Cx>(b));
  return complex ? round_out(x, true, drop_tiny) : round_out(Dense<Ld>(x.real()), false, drop_tiny);
}

MatrixResult residual(const Matrix& b, const Matrix& a, const Matrix& z) {
  const bool complex = a.is_complex || b.is_complex || z.is_complex;
  const Dense<Cx> r = load<Cx>(b) - load<Cx>(a) * load<Cx>(z);
  return complex ? round_out(r, true, false) : round_out(Dense<Ld>(r.real()), false, false);
}

}  // namespace rplrun
