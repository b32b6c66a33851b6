#include "numbers/ode_step.h"

#include <utility>

#include "numbers/real_functions.h"
#include "numbers/wide.h"

namespace rplrun {

namespace {

struct Ratio {
  int p;
  int q;
};

Truncated of(Ratio r) { return Truncated::ratio(r.p, r.q); }
Real twelve(Truncated x) { return x.rounded().value; }

// Fehlberg's pair: the stages' times (as fractions of h) and coefficients, the
// fifth-order weights and the error's (fifth- less fourth-order) weights.
constexpr Ratio fehlberg_c[6] = {{0, 1}, {1, 4}, {3, 8}, {12, 13}, {1, 1}, {1, 2}};
constexpr Ratio fehlberg_a[6][5] = {
    {},
    {{1, 4}},
    {{3, 32}, {9, 32}},
    {{1932, 2197}, {-7200, 2197}, {7296, 2197}},
    {{439, 216}, {-8, 1}, {3680, 513}, {-845, 4104}},
    {{-8, 27}, {2, 1}, {-3544, 2565}, {1859, 4104}, {-11, 40}},
};
constexpr Ratio fehlberg_b[6] = {{16, 135},      {0, 1},   {6656, 12825},
                                 {28561, 56430}, {-9, 50}, {2, 55}};
constexpr Ratio fehlberg_e[6] = {{1, 360}, {0, 1}, {-128, 4275}, {-2197, 75240}, {1, 50}, {2, 55}};

// Shampine's Rosenbrock parameters, in the form that needs no product of df/dy with
// the stages: the g's solve (I/(gamma h) - df/dy) g_i = f_i + h cx_i df/dt +
// sum c_ij g_j / h.
constexpr Ratio gamma_ = {1, 2};
constexpr Ratio ros_a21 = {2, 1}, ros_a31 = {48, 25}, ros_a32 = {6, 25};
constexpr Ratio ros_c21 = {-8, 1}, ros_c31 = {372, 25}, ros_c32 = {12, 5};
constexpr Ratio ros_c41 = {-112, 125}, ros_c42 = {-54, 125}, ros_c43 = {-2, 5};
constexpr Ratio ros_cx[4] = {{1, 2}, {-3, 2}, {121, 50}, {29, 250}};
constexpr Ratio ros_t2 = {1, 1}, ros_t3 = {3, 5};
constexpr Ratio ros_b[4] = {{19, 9}, {1, 2}, {25, 108}, {125, 108}};
constexpr Ratio ros_e[4] = {{17, 54}, {7, 36}, {0, 1}, {125, 108}};

}  // namespace

OdeStep::OdeStep(OdeMethod method, Real t, const std::vector<Real>& y, Real h,
                 const std::vector<Real>& jacobian, const std::vector<Real>& time_derivative)
    : method_(method), n_(y.size()), t0_(t), h_(h), t_(t), y_(y) {
  for (Real x : y) y0_.emplace_back(x);
  if (method_ == OdeMethod::rosenbrock) {
    const Truncated diagonal = Truncated(Real::from_int64(1)) / (of(gamma_) * h_);
    for (std::size_t i = 0; i < n_; ++i)
      for (std::size_t j = 0; j < n_; ++j)
        matrix_.push_back(i == j ? diagonal - Truncated(jacobian[i * n_ + j])
                                 : -Truncated(jacobian[i * n_ + j]));
    for (Real x : time_derivative) time_derivative_.emplace_back(x);
    factor();
    if (singular_) done_ = true;
  }
}

void OdeStep::report(const std::vector<Real>& f) {
  last_f_.clear();
  for (Real x : f) last_f_.emplace_back(x);
  ++stage_;
  if (method_ == OdeMethod::fehlberg)
    fehlberg_stage();
  else
    rosenbrock_stage();
}

void OdeStep::want(Truncated c, const Vector& y) {
  t_ = twelve(t0_ + c * h_);
  for (std::size_t i = 0; i < n_; ++i) y_[i] = twelve(y[i]);
}

void OdeStep::fehlberg_stage() {
  k_.push_back(last_f_);
  const auto combine = [&](const Ratio* weights, std::size_t count) {
    Vector sum(n_);
    for (std::size_t i = 0; i < n_; ++i) {
      for (std::size_t j = 0; j < count; ++j)
        if (weights[j].p != 0) sum[i] = sum[i] + of(weights[j]) * k_[j][i];
      sum[i] = sum[i] * h_;
    }
    return sum;
  };
  if (k_.size() == 6) return finish(combine(fehlberg_b, 6), combine(fehlberg_e, 6));
  const std::size_t stage = k_.size();
  Vector y = combine(fehlberg_a[stage], stage);
  for (std::size_t i = 0; i < n_; ++i) y[i] = y0_[i] + y[i];
  want(of(fehlberg_c[stage]), y);
}

void OdeStep::rosenbrock_stage() {
  // The right-hand side of stage `s`: f, its time term, and the g's before it.
  const auto rhs = [&](int s, std::initializer_list<std::pair<Ratio, std::size_t>> terms) {
    Vector r = last_f_;
    const Truncated time_factor = h_ * of(ros_cx[s]);
    for (std::size_t i = 0; i < n_; ++i) {
      r[i] = r[i] + time_factor * time_derivative_[i];
      for (const auto& [c, j] : terms) r[i] = r[i] + of(c) * k_[j][i] / h_;
    }
    return solve(std::move(r));
  };
  Vector y(n_);
  switch (stage_) {
    case 1:
      k_.push_back(rhs(0, {}));
      for (std::size_t i = 0; i < n_; ++i) y[i] = y0_[i] + of(ros_a21) * k_[0][i];
      return want(of(ros_t2), y);
    case 2:
      k_.push_back(rhs(1, {{ros_c21, 0}}));
      for (std::size_t i = 0; i < n_; ++i)
        y[i] = y0_[i] + of(ros_a31) * k_[0][i] + of(ros_a32) * k_[1][i];
      return want(of(ros_t3), y);
    default: {
      // The fourth stage is at the third's point: f is not evaluated again.
      k_.push_back(rhs(2, {{ros_c31, 0}, {ros_c32, 1}}));
      k_.push_back(rhs(3, {{ros_c41, 0}, {ros_c42, 1}, {ros_c43, 2}}));
      Vector change(n_), error(n_);
      for (std::size_t i = 0; i < n_; ++i)
        for (std::size_t j = 0; j < 4; ++j) {
          change[i] = change[i] + of(ros_b[j]) * k_[j][i];
          if (ros_e[j].p != 0) error[i] = error[i] + of(ros_e[j]) * k_[j][i];
        }
      return finish(change, error);
    }
  }
}

void OdeStep::finish(const Vector& change, const Vector& error) {
  for (std::size_t i = 0; i < n_; ++i) {
    change_.push_back(twelve(change[i]));
    error_.push_back(abs(twelve(error[i])));
  }
  done_ = true;
}

Real OdeStep::largest_error() const {
  Real largest;
  for (Real e : error_)
    if (largest < e) largest = e;
  return largest;
}

// Elimination with partial pivoting; the multipliers are kept below the diagonal.
void OdeStep::factor() {
  for (std::size_t k = 0; k < n_; ++k) {
    std::size_t pivot = k;
    for (std::size_t i = k + 1; i < n_; ++i)
      if (matrix_[pivot * n_ + k].magnitude() < matrix_[i * n_ + k].magnitude()) pivot = i;
    if (matrix_[pivot * n_ + k].is_zero()) {
      singular_ = true;
      return;
    }
    pivots_.push_back(pivot);
    for (std::size_t j = 0; j < n_; ++j) std::swap(matrix_[k * n_ + j], matrix_[pivot * n_ + j]);
    for (std::size_t i = k + 1; i < n_; ++i) {
      const Truncated l = matrix_[i * n_ + k] / matrix_[k * n_ + k];
      matrix_[i * n_ + k] = l;
      for (std::size_t j = k + 1; j < n_; ++j)
        matrix_[i * n_ + j] = matrix_[i * n_ + j] - l * matrix_[k * n_ + j];
    }
  }
}

OdeStep::Vector OdeStep::solve(Vector r) const {
  for (std::size_t k = 0; k < n_; ++k) {
    std::swap(r[k], r[pivots_[k]]);
    for (std::size_t i = k + 1; i < n_; ++i) r[i] = r[i] - matrix_[i * n_ + k] * r[k];
  }
  for (std::size_t i = n_; i-- > 0;) {
    for (std::size_t j = i + 1; j < n_; ++j) r[i] = r[i] - matrix_[i * n_ + j] * r[j];
    r[i] = r[i] / matrix_[i * n_ + i];
  }
  return r;
}

Real next_step_size(OdeMethod method, Real h, Real error, Real tolerance) {
  // The error of a step of size h grows as h^5 (Fehlberg) or h^4 (Rosenbrock): the
  // step that would just meet the tolerance, with a margin, within bounds on the change.
  const bool fehlberg = method == OdeMethod::fehlberg;
  const Wide ratio = Wide(error) / Wide(tolerance);
  const Wide margin = Wide::parse(".9");
  Wide factor;
  if (!(tolerance < error)) {
    const Wide least = Wide::parse(fehlberg ? "1.89E-4" : ".1296");
    factor = least < ratio ? margin * ratio.power(Wide::parse(fehlberg ? "-.2" : "-.25"))
                           : Wide::parse(fehlberg ? "5" : "1.5");
  } else {
    const Wide shrunk = margin * ratio.power(fehlberg ? Wide::parse("-.25")
                                                      : -Wide::from_int(1) / Wide::from_int(3));
    const Wide floor = Wide::parse(fehlberg ? ".1" : ".5");
    factor = shrunk < floor ? floor : shrunk;
  }
  return (Wide(h) * factor).rounded().value;
}

}  // namespace rplrun
