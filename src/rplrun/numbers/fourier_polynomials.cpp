#include "numbers/fourier_polynomials.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numbers/binary_arrays.h"

namespace rplrun {

namespace {

using namespace binary_arrays;

// Radix-2 transform of `data` in place, sign -1 forward.
void transform(std::vector<Cx>& data) {
  const std::size_t n = data.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    for (std::size_t k = 0; k < length / 2; ++k) {
      // e^(-2 pi i k / length), exact at the quarter turns.
      Cx w;
      if (4 * k % length == 0) {
        const std::size_t quarter = 4 * k / length;
        w = quarter == 0 ? Cx(1, 0) : quarter == 1 ? Cx(0, -1) : Cx(-1, 0);
      } else {
        const Ld angle = -2 * std::acos(Ld(-1)) * static_cast<Ld>(k) / static_cast<Ld>(length);
        w = Cx(std::cos(angle), std::sin(angle));
      }
      for (std::size_t start = 0; start < n; start += length) {
        const Cx even = data[start + k];
        const Cx odd = data[start + k + length / 2] * w;
        data[start + k] = even + odd;
        data[start + k + length / 2] = even - odd;
      }
    }
  }
}

Cx horner(const Dense<Cx>& c, Cx x) {
  Cx sum = 0;
  for (Eigen::Index k = 0; k < c.rows(); ++k) sum = sum * x + c(k, 0);
  return sum;
}

// The coefficients of the nth derivative.
Dense<Cx> derivative(const Dense<Cx>& c, Eigen::Index n) {
  Dense<Cx> d = c;
  for (Eigen::Index step = 0; step < n && d.rows() > 1; ++step) {
    const Eigen::Index degree = d.rows() - 1;
    Dense<Cx> next(degree, 1);
    for (Eigen::Index k = 0; k < degree; ++k) next(k, 0) = d(k, 0) * static_cast<Ld>(degree - k);
    d = next;
  }
  return d;
}

// Newton's steps from x while they bring f closer to zero.
Cx newton(const Dense<Cx>& f, const Dense<Cx>& slope_of, Cx x) {
  for (int step = 0; step < 8; ++step) {
    const Cx slope = horner(slope_of, x);
    if (slope == Cx(0)) break;
    const Cx next = x - horner(f, x) / slope;
    if (!(std::abs(horner(f, next)) < std::abs(horner(f, x)))) break;
    x = next;
  }
  return x;
}

}  // namespace

MatrixResult fourier_transform(const Matrix& a, bool inverse, bool drop_tiny) {
  Dense<Cx> w = load<Cx>(a);
  if (inverse) w = w.conjugate();
  std::vector<Cx> line;
  for (int pass = 0; pass < 2; ++pass) {
    for (Eigen::Index i = 0; i < w.cols(); ++i) {
      if (w.rows() == 1) break;
      line.assign(w.col(i).data(), w.col(i).data() + w.rows());
      transform(line);
      for (Eigen::Index k = 0; k < w.rows(); ++k) w(k, i) = line[static_cast<std::size_t>(k)];
    }
    w.transposeInPlace();
  }
  if (inverse) w = w.conjugate() / static_cast<Ld>(w.size());
  return round_out_maybe_real(w, drop_tiny);
}

MatrixResult coefficients_of_roots(const Matrix& roots, bool drop_tiny) {
  const Dense<Cx> r = load<Cx>(roots);
  const Eigen::Index n = r.rows();
  Dense<Cx> c = Dense<Cx>::Zero(n + 1, 1);
  c(0, 0) = 1;
  for (Eigen::Index k = 0; k < n; ++k) {
    for (Eigen::Index j = k + 1; j > 0; --j) c(j, 0) -= r(k, 0) * c(j - 1, 0);
  }
  if (!roots.is_complex) return round_out(Dense<Ld>(c.real()), false, drop_tiny);
  return round_out_maybe_real(c, drop_tiny);
}

NumberResult polynomial_value(const Matrix& coefficients, const Complex& x, bool complex) {
  const Cx value = horner(load<Cx>(coefficients), Cx(to_binary(x.re), to_binary(x.im)));
  const RealResult re = to_real(value.real());
  if (!complex) return re;
  const RealResult im = to_real(value.imag());
  return ComplexResult{{re.value, im.value}, worse(re.condition, im.condition)};
}

MatrixResult polynomial_roots(const Matrix& coefficients, bool drop_tiny) {
  Dense<Cx> c = load<Cx>(coefficients);
  Eigen::Index first = 0;
  while (first < c.rows() && c(first, 0) == Cx(0)) ++first;
  c = Dense<Cx>(c.bottomRows(c.rows() - first));
  const Eigen::Index degree = c.rows() - 1;
  // The eigenvalues of the companion matrix, polished by Newton's steps on the polynomial.
  Dense<Cx> companion = Dense<Cx>::Zero(degree, degree);
  for (Eigen::Index j = 0; j < degree; ++j) companion(0, j) = -c(j + 1, 0) / c(0, 0);
  for (Eigen::Index i = 1; i < degree; ++i) companion(i, i - 1) = 1;
  Column<Cx> roots;
  if (coefficients.is_complex) {
    roots = eigen_system(companion, false).values;
  } else {
    roots = eigen_system(Dense<Ld>(companion.real()), false).values;
  }
  // A root of multiplicity k comes out as a ring of k close values: it is their mean,
  // polished as the simple root of the (k-1)th derivative. A ring is taken as one root
  // only where the polynomial is smaller at its mean than at its members.
  std::vector<bool> done(static_cast<std::size_t>(degree), false);
  for (Eigen::Index k = 0; k < degree; ++k) {
    if (done[static_cast<std::size_t>(k)]) continue;
    std::vector<Eigen::Index> ring{k};
    const Ld reach = 1e-5L * (1 + std::abs(roots(k)));
    for (Eigen::Index j = k + 1; j < degree; ++j) {
      if (!done[static_cast<std::size_t>(j)] && std::abs(roots(j) - roots(k)) < reach)
        ring.push_back(j);
    }
    Cx mean = 0;
    Ld worst = 0;
    for (const Eigen::Index j : ring) {
      mean += roots(j);
      worst = std::max(worst, std::abs(horner(c, roots(j))));
    }
    mean /= static_cast<Ld>(ring.size());
    const Dense<Cx> f = derivative(c, static_cast<Eigen::Index>(ring.size()) - 1);
    const Cx x = newton(f, derivative(f, 1), mean);
    if (ring.size() > 1 && std::abs(horner(c, x)) > worst) {
      roots(k) = newton(c, derivative(c, 1), roots(k));
      continue;
    }
    for (const Eigen::Index j : ring) {
      roots(j) = x;
      done[static_cast<std::size_t>(j)] = true;
    }
  }
  // Ordered by modulus, then real part, then imaginary part largest first, each compared
  // as its 12 digits show, so that rounding noise cannot reorder equals.
  struct Keyed {
    Real modulus, re, im;
    Cx root;
  };
  std::vector<Keyed> keyed;
  for (Eigen::Index k = 0; k < degree; ++k) {
    const Cx x = roots(k);
    keyed.push_back(
        {to_real(std::abs(x)).value, to_real(x.real()).value, to_real(x.imag()).value, x});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& x, const Keyed& y) {
    if (x.modulus != y.modulus) return x.modulus < y.modulus;
    if (x.re != y.re) return x.re < y.re;
    return y.im < x.im;
  });
  Dense<Cx> out(degree, 1);
  for (Eigen::Index k = 0; k < degree; ++k) out(k, 0) = keyed[static_cast<std::size_t>(k)].root;
  if (coefficients.is_complex) return round_out(out, true, drop_tiny);
  return round_out_maybe_real(out, drop_tiny);
}

}  // namespace rplrun
