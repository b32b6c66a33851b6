// One step of a solver for y' = f(t, y), y a real or a vector of n reals, and the
// control of the step's size:
// - Fehlberg's Runge-Kutta 4(5) pair, six values of f; the step is the fifth-order
//   solution, the error its difference from the fourth-order one;
// - Shampine's Rosenbrock 4(3) method for stiff systems, three values of f and the
//   partial derivatives df/dy (an n x n matrix) and df/dt at the start; the error is
//   the difference from the embedded third-order solution.
// The arithmetic is the solvers' 15-digit truncated one (truncated.h); each point at
// which f is wanted, and each result, is a 12-digit real. The caller evaluates f (a
// program or an algebraic run by the machine) and reports its values.
#pragma once

#include <cstdint>
#include <vector>

#include "numbers/real.h"
#include "numbers/truncated.h"

namespace rplrun {

enum class OdeMethod : std::uint8_t { fehlberg, rosenbrock };

class OdeStep {
 public:
  // From (t, y) by h. For Rosenbrock, the partial derivatives at (t, y): `jacobian` in
  // row order (df_i/dy_j), `time_derivative` df_i/dt.
  OdeStep(OdeMethod method, Real t, const std::vector<Real>& y, Real h,
          const std::vector<Real>& jacobian = {}, const std::vector<Real>& time_derivative = {});

  // While not done: the point at which f is wanted, and its value there.
  bool done() const { return done_; }
  Real t() const { return t_; }
  const std::vector<Real>& y() const { return y_; }
  void report(const std::vector<Real>& f);

  // Once done: the change in y, and the magnitude of each component's error estimate.
  // A Rosenbrock step whose matrix I/(gamma h) - df/dy is singular has neither.
  bool singular() const { return singular_; }
  const std::vector<Real>& change() const { return change_; }
  const std::vector<Real>& error() const { return error_; }
  Real largest_error() const;

 private:
  using Vector = std::vector<Truncated>;

  void fehlberg_stage();
  void rosenbrock_stage();
  void finish(const Vector& change, const Vector& error);
  // Sets the next point: t + c h, y0 + sum.
  void want(Truncated c, const Vector& offset);
  // The solution of (I/(gamma h) - df/dy) x = r, by elimination on the factored matrix.
  Vector solve(Vector r) const;
  void factor();

  OdeMethod method_;
  std::size_t n_;
  Truncated t0_, h_;
  Vector y0_;
  std::vector<Vector> k_;  // f at the stages (Fehlberg), or the g's (Rosenbrock)
  Vector matrix_;          // Rosenbrock: I/(gamma h) - df/dy, factored in place
  std::vector<std::size_t> pivots_;
  Vector time_derivative_;
  Vector last_f_;
  int stage_ = 0;
  bool done_ = false;
  bool singular_ = false;
  Real t_;
  std::vector<Real> y_;
  std::vector<Real> change_, error_;
};

// The step to try next after a step of size h whose largest error was `error`, against
// the tolerance: smaller after a rejected step (error above the tolerance), the step to
// take next after an accepted one.
Real next_step_size(OdeMethod method, Real h, Real error, Real tolerance);

}  // namespace rplrun
