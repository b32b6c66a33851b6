#include "numbers/linear_algebra.h"

#include <utility>

#include "numbers/extended.h"

namespace rplrun {

namespace {

// The algorithms are written once for both kinds of element: Extended for real
// matrices, ExtendedComplex for complex ones (a real divided by a real must not go
// through the complex quotient's formula, which rounds differently).
Extended load(const Complex& z, Extended*) { return Extended(z.re); }
ExtendedComplex load(const Complex& z, ExtendedComplex*) { return ExtendedComplex(z); }

template <class S>
S element(const Matrix& m, std::size_t k) {
  return load(m.values[k], static_cast<S*>(nullptr));
}

Extended magnitude(const Extended& x) { return x.magnitude(); }
Extended magnitude(const ExtendedComplex& z) { return z.magnitude(); }

NumberResult number(const Extended& x) { return x.rounded(); }
NumberResult number(const ExtendedComplex& z) { return z.rounded(); }

// Collects rounded elements into a result matrix.
struct Builder {
  MatrixResult result;

  Builder(std::uint32_t rows, std::uint32_t columns, bool complex) {
    result.value.rows = rows;
    result.value.columns = columns;
    result.value.is_complex = complex;
    result.value.values.reserve(static_cast<std::size_t>(rows) * columns);
  }
  template <class S>
  void add(const S& x) {
    const NumberResult n = number(x);
    result.condition = worse(result.condition, n.condition);
    result.value.values.push_back(n.value);
  }
};

template <class S>
NumberResult dot_of(const Matrix& a, const Matrix& b) {
  S sum{};
  for (std::size_t k = 0; k < a.values.size(); ++k) sum = sum + element<S>(a, k) * element<S>(b, k);
  return number(sum);
}

void call(const Poll& poll) {
  if (poll) poll();
}

template <class S>
MatrixResult product_of(const Matrix& a, const Matrix& b, const Poll& poll) {
  Builder out(a.rows, b.columns, a.is_complex || b.is_complex);
  for (std::uint32_t i = 0; i < a.rows; ++i) {
    call(poll);
    for (std::uint32_t j = 0; j < b.columns; ++j) {
      S sum{};
      for (std::uint32_t k = 0; k < a.columns; ++k) {
        sum = sum + element<S>(a, static_cast<std::size_t>(i) * a.columns + k) *
                        element<S>(b, static_cast<std::size_t>(k) * b.columns + j);
      }
      out.add(sum);
    }
  }
  return std::move(out.result);
}

template <class S>
MatrixResult cross_of(const Matrix& a, const Matrix& b) {
  const S a1 = element<S>(a, 0), a2 = element<S>(a, 1), a3 = element<S>(a, 2);
  const S b1 = element<S>(b, 0), b2 = element<S>(b, 1), b3 = element<S>(b, 2);
  Builder out(3, 1, a.is_complex || b.is_complex);
  out.add(a2 * b3 - a3 * b2);
  out.add(a3 * b1 - a1 * b3);
  out.add(a1 * b2 - a2 * b1);
  return std::move(out.result);
}

// Crout's LU factorization with partial pivoting, in place: L (with its diagonal) on and
// below the diagonal, U (unit diagonal) above it, for the rows of A in `order`.
template <class S>
struct Factorization {
  std::uint32_t n = 0;
  std::vector<S> lu;
  std::vector<std::uint32_t> order;
  bool odd_swaps = false;
  bool singular = false;

  S& at(std::uint32_t i, std::uint32_t j) { return lu[static_cast<std::size_t>(i) * n + j]; }
};

// What a zero pivot does: stop the factorization (DET, whose value is then zero), go on
// with MINR in its place (INV, /), or go on with that row of U zero (LU).
enum class ZeroPivot { stop, replace, skip_row };

template <class S>
Factorization<S> factor(const Matrix& a, ZeroPivot zero_pivot, const Poll& poll) {
  Factorization<S> f;
  f.n = a.rows;
  const std::uint32_t n = f.n;
  f.lu.reserve(a.values.size());
  for (std::size_t k = 0; k < a.values.size(); ++k) f.lu.push_back(element<S>(a, k));
  for (std::uint32_t i = 0; i < n; ++i) f.order.push_back(i);
  for (std::uint32_t j = 0; j < n; ++j) {
    call(poll);
    for (std::uint32_t i = j; i < n; ++i) {
      S sum = f.at(i, j);
      for (std::uint32_t k = 0; k < j; ++k) sum = sum - f.at(i, k) * f.at(k, j);
      f.at(i, j) = sum;
    }
    std::uint32_t pivot_row = j;
    Extended largest = magnitude(f.at(j, j));
    for (std::uint32_t i = j + 1; i < n; ++i) {
      const Extended size = magnitude(f.at(i, j));
      if (largest < size) {
        largest = size;
        pivot_row = i;
      }
    }
    if (pivot_row != j) {
      for (std::uint32_t k = 0; k < n; ++k) std::swap(f.at(j, k), f.at(pivot_row, k));
      std::swap(f.order[j], f.order[pivot_row]);
      f.odd_swaps = !f.odd_swaps;
    }
    if (f.at(j, j).is_zero()) {
      f.singular = true;
      if (zero_pivot == ZeroPivot::stop) return f;
      if (zero_pivot == ZeroPivot::skip_row) {
        for (std::uint32_t i = j + 1; i < n; ++i) f.at(j, i) = S{};
        continue;
      }
      f.at(j, j) = load(Complex{Real::min(), Real()}, static_cast<S*>(nullptr));
    }
    const S pivot = f.at(j, j);
    for (std::uint32_t i = j + 1; i < n; ++i) {
      S sum = f.at(j, i);
      for (std::uint32_t k = 0; k < j; ++k) sum = sum - f.at(j, k) * f.at(k, i);
      f.at(j, i) = sum / pivot;
    }
  }
  return f;
}

template <class S>
NumberResult determinant_of(const Matrix& a, bool integer_result, const Poll& poll) {
  S det{};
  if (a.rows == 1) {
    det = element<S>(a, 0);
  } else if (a.rows == 2) {
    det = element<S>(a, 0) * element<S>(a, 3) - element<S>(a, 1) * element<S>(a, 2);
  } else {
    Factorization<S> f = factor<S>(a, ZeroPivot::stop, poll);
    if (!f.singular) {
      det = f.at(0, 0);
      for (std::uint32_t i = 1; i < f.n; ++i) det = det * f.at(i, i);
      if (f.odd_swaps) det = -det;
    }
  }
  if (integer_result) {
    bool integers = true;
    for (std::size_t k = 0; k < a.values.size() && integers; ++k)
      integers = element<S>(a, k).is_integer();
    if (integers) {
      if constexpr (std::is_same_v<S, Extended>)
        det = det.nearest_integer();
      else
        det = S{det.re.nearest_integer(), det.im.nearest_integer()};
    }
  }
  return number(det);
}

template <class S>
MatrixResult solve_of(const Matrix& a, const Matrix& b, const Poll& poll) {
  Factorization<S> f = factor<S>(a, ZeroPivot::replace, poll);
  const std::uint32_t n = f.n;
  const std::uint32_t p = b.columns;
  std::vector<S> x(static_cast<std::size_t>(n) * p);
  auto xs = [&](std::uint32_t i, std::uint32_t j) -> S& {
    return x[static_cast<std::size_t>(i) * p + j];
  };
  for (std::uint32_t j = 0; j < p; ++j) {
    call(poll);
    for (std::uint32_t i = 0; i < n; ++i) {
      S sum = element<S>(b, static_cast<std::size_t>(f.order[i]) * p + j);
      for (std::uint32_t k = 0; k < i; ++k) sum = sum - f.at(i, k) * xs(k, j);
      xs(i, j) = sum / f.at(i, i);
    }
    for (std::uint32_t i = n; i-- > 0;) {
      S sum = xs(i, j);
      for (std::uint32_t k = i + 1; k < n; ++k) sum = sum - f.at(i, k) * xs(k, j);
      xs(i, j) = sum;
    }
  }
  Builder out(n, p, a.is_complex || b.is_complex);
  for (const S& value : x) out.add(value);
  if (f.singular) out.result.condition = worse(out.result.condition, Condition::infinite_result);
  return std::move(out.result);
}

template <class S>
LuFactors lu_of(const Matrix& a, const Poll& poll) {
  Factorization<S> f = factor<S>(a, ZeroPivot::skip_row, poll);
  const std::uint32_t n = f.n;
  Builder lower(n, n, a.is_complex), upper(n, n, a.is_complex), order(n, n, false);
  const S one = load(Complex{Real::from_int64(1), Real()}, static_cast<S*>(nullptr));
  for (std::uint32_t i = 0; i < n; ++i) {
    for (std::uint32_t j = 0; j < n; ++j) {
      lower.add(j <= i ? f.at(i, j) : S{});
      upper.add(j > i ? f.at(i, j) : j == i ? one : S{});
      order.add(f.order[i] == j ? Extended(Real::from_int64(1)) : Extended());
    }
  }
  return {std::move(lower.result), std::move(upper.result), std::move(order.result)};
}

template <class S>
NumberResult trace_of(const Matrix& a) {
  S sum{};
  for (std::uint32_t i = 0; i < a.rows; ++i)
    sum = sum + element<S>(a, static_cast<std::size_t>(i) * a.columns + i);
  return number(sum);
}

Extended modulus(const Matrix& a, std::size_t k) {
  if (!a.is_complex) return Extended(a.values[k].re).magnitude();
  return ExtendedComplex(a.values[k]).magnitude();
}

// The largest sum of moduli along rows (`by_rows`) or columns.
RealResult largest_sum(const Matrix& a, bool by_rows) {
  const std::uint32_t lines = by_rows ? a.rows : a.columns;
  const std::uint32_t length = by_rows ? a.columns : a.rows;
  Extended largest;
  for (std::uint32_t i = 0; i < lines; ++i) {
    Extended sum;
    for (std::uint32_t k = 0; k < length; ++k) {
      sum = sum + modulus(a, by_rows ? static_cast<std::size_t>(i) * a.columns + k
                                     : static_cast<std::size_t>(k) * a.columns + i);
    }
    if (largest < sum) largest = sum;
  }
  return largest.rounded();
}

}  // namespace

NumberResult dot(const Matrix& a, const Matrix& b) {
  return a.is_complex || b.is_complex ? dot_of<ExtendedComplex>(a, b) : dot_of<Extended>(a, b);
}

MatrixResult product(const Matrix& a, const Matrix& b, const Poll& poll) {
  return a.is_complex || b.is_complex ? product_of<ExtendedComplex>(a, b, poll)
                                      : product_of<Extended>(a, b, poll);
}

MatrixResult cross(const Matrix& a, const Matrix& b) {
  return a.is_complex || b.is_complex ? cross_of<ExtendedComplex>(a, b) : cross_of<Extended>(a, b);
}

NumberResult multiply_add(const Complex& x, const Complex& y, const Complex& z, bool complex) {
  if (!complex) return (Extended(x.re) * Extended(y.re) + Extended(z.re)).rounded();
  return (ExtendedComplex(x) * ExtendedComplex(y) + ExtendedComplex(z)).rounded();
}

NumberResult determinant(const Matrix& a, bool integer_result, const Poll& poll) {
  return a.is_complex ? determinant_of<ExtendedComplex>(a, integer_result, poll)
                      : determinant_of<Extended>(a, integer_result, poll);
}

LuFactors lu_factors(const Matrix& a, const Poll& poll) {
  return a.is_complex ? lu_of<ExtendedComplex>(a, poll) : lu_of<Extended>(a, poll);
}

NumberResult trace(const Matrix& a) {
  return a.is_complex ? trace_of<ExtendedComplex>(a) : trace_of<Extended>(a);
}

MatrixResult inverse(const Matrix& a, const Poll& poll) {
  Matrix identity;
  identity.rows = identity.columns = a.rows;
  identity.values.assign(static_cast<std::size_t>(a.rows) * a.rows, Complex{});
  for (std::uint32_t i = 0; i < a.rows; ++i)
    identity.values[static_cast<std::size_t>(i) * a.rows + i].re = Real::from_int64(1);
  return solve(a, identity, poll);
}

MatrixResult solve(const Matrix& a, const Matrix& b, const Poll& poll) {
  return a.is_complex || b.is_complex ? solve_of<ExtendedComplex>(a, b, poll)
                                      : solve_of<Extended>(a, b, poll);
}

RealResult frobenius_norm(const Matrix& a) {
  Extended sum;
  for (const Complex& z : a.values) {
    const Extended re(z.re);
    const Extended im(z.im);
    sum = sum + re * re;
    if (a.is_complex) sum = sum + im * im;
  }
  return square_root(sum).rounded();
}

RealResult row_norm(const Matrix& a) { return largest_sum(a, true); }
RealResult column_norm(const Matrix& a) { return largest_sum(a, false); }

}  // namespace rplrun
