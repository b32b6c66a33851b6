// The solvers of differential equations y' = f(t, y), y a real or a real vector:
// RKF RKFSTEP RKFERR by the Runge-Kutta-Fehlberg pair, RRK RRKSTEP RSBERR by a
// Rosenbrock method for stiff problems beside it (the list then gives df/dy and df/dt).
// The list names the independent and the solution variables, which hold the starting
// point; a solution is stored back into them. Each value of f is computed on the
// machine's own loop: the solver is a continuation that resumes when f has returned.
#include <optional>

#include "commands/support.h"
#include "numbers/ode_step.h"
#include "numbers/real_functions.h"
#include "numbers/wide.h"
#include "objects/array.h"
#include "objects/command_ids.h"
#include "objects/reader.h"

namespace rplrun {

namespace {

// An expression's value as \->NUM makes it, then 1; or, when it fails, 0 (the error is
// caught: the solver reports it as its own).
const Object& numeric_value() {
  static const Object program = read_builtin_program("ODE", "IFERR \\->NUM THEN 0 ELSE 1 END");
  return program;
}

// What a list describes: { T Y f } or { T Y f fy ft }, with the variables' values.
struct Problem {
  Object t_name, y_name, f, fy, ft;
  Real t;
  std::vector<Real> y;
  bool vector = false;  // Y holds a vector
};

// The reals of a real vector, or the one real; none for anything else.
std::optional<std::vector<Real>> reals_of(const Object& x, bool vector) {
  if (!vector) {
    if (!x.is(Kind::real)) return std::nullopt;
    return std::vector<Real>{x.as_real()};
  }
  if (!x.is(Kind::array)) return std::nullopt;
  const ArrayNode& a = x.node_as<ArrayNode>();
  if (a.is_matrix || a.is_complex) return std::nullopt;
  std::vector<Real> values;
  for (const Object& e : a.elements) values.push_back(e.as_real());
  return values;
}

Problem problem_arg(Machine& m, const Object& list, bool with_derivatives) {
  const std::span<const Object> items = list_arg(list);
  if (items.size() != (with_derivatives ? 5u : 3u)) fail(bad_argument_value);
  Problem p;
  p.t_name = name_arg(items[0]).unquoted();
  p.y_name = name_arg(items[1]).unquoted();
  p.f = items[2];
  if (with_derivatives) {
    p.fy = items[3];
    p.ft = items[4];
  }
  const Object* t = m.lookup(p.t_name);
  const Object* y = m.lookup(p.y_name);
  if (!t || !y) fail(undefined_name);
  p.t = real_arg(*t);
  p.vector = y->is(Kind::array);
  const std::optional<std::vector<Real>> values = reals_of(*y, p.vector);
  if (!values || values->empty()) fail(bad_argument_type);
  p.y = *values;
  return p;
}

// A tolerance: a positive real, or for RKF and RRK a list { tolerance first-step }.
struct Tolerance {
  Real value;
  std::optional<Real> first_step;
};

Tolerance tolerance_arg(const Object& x, bool with_step) {
  Tolerance t;
  if (with_step && x.is(Kind::list)) {
    const std::span<const Object> items = x.items();
    if (items.size() != 2) fail(bad_argument_value);
    t.value = real_arg(items[0]);
    t.first_step = real_arg(items[1]);
    if (t.first_step->is_zero()) fail(bad_argument_value);
  } else {
    t.value = real_arg(x);
  }
  if (t.value.sign() <= 0) fail(bad_argument_value);
  return t;
}

Real step_arg(const Object& x) {
  const Real h = real_arg(x);
  if (h.is_zero()) fail(bad_argument_value);
  return h;
}

enum class Goal : std::uint8_t {
  error,     // one step's change and error estimate, the variables left as they were
  one_step,  // one accepted step, the variables moved on, the next step's size
  final,     // accepted steps up to a final value of the independent variable
};

// Which methods a solver may use: Fehlberg's, Rosenbrock's, or each step the one that
// allows the longer next step.
enum class Methods : std::uint8_t { fehlberg, rosenbrock, either };

class OdeSolver : public Continuation {
 public:
  OdeSolver(Machine& m, std::uint32_t command, Problem problem, Goal goal, Methods methods,
            Real tolerance, Real h, Real final_t, std::vector<Object> arguments)
      : problem_(std::move(problem)),
        goal_(goal),
        methods_(methods),
        tolerance_(tolerance),
        h_(h),
        final_t_(final_t),
        arguments_(std::move(arguments)),
        command_(command),
        base_(m.depth()),
        t_(problem_.t),
        y_(problem_.y) {}

  // The method RRKSTEP was told was used last: 1 Fehlberg, 2 Rosenbrock.
  void prefer(int method) { preferred_ = method; }

  bool resume(Machine& m) final {
    if (pending_ != Pending::none) take_value(m);
    return advance(m);
  }

 private:
  enum class Pending : std::uint8_t { none, f, fy, ft };

  bool uses(OdeMethod method) const {
    return methods_ == Methods::either ||
           (methods_ == Methods::fehlberg) == (method == OdeMethod::fehlberg);
  }

  bool advance(Machine& m) {
    for (;;) {
      if (uses(OdeMethod::rosenbrock) && !derivatives_ready_) {
        if (jacobian_.empty()) return evaluate(m, Pending::fy, problem_.fy, t_, y_);
        return evaluate(m, Pending::ft, problem_.ft, t_, y_);
      }
      if (!step_) start_step();
      if (!step_->done()) return evaluate(m, Pending::f, problem_.f, step_->t(), step_->y());
      results_.push_back(std::move(*step_));
      step_.reset();
      if (methods_ == Methods::either && results_.size() == 1) continue;
      if (finish_step(m)) return true;
    }
  }

  void start_step() {
    const bool rosenbrock =
        methods_ == Methods::rosenbrock || (methods_ == Methods::either && results_.size() == 1);
    step_.emplace(rosenbrock ? OdeMethod::rosenbrock : OdeMethod::fehlberg, t_, y_, h_, jacobian_,
                  time_derivative_);
  }

  // Stores the point and evaluates an expression there; its value comes to take_value.
  bool evaluate(Machine& m, Pending what, const Object& x, Real t, const std::vector<Real>& y) {
    m.store(problem_.t_name, Object::real(t));
    m.store(problem_.y_name, y_object(y));
    pending_ = what;
    m.push(x);
    m.call(numeric_value());
    return false;
  }

  Object y_object(const std::vector<Real>& y) const {
    if (!problem_.vector) return Object::real(y[0]);
    std::vector<Object> elements;
    for (Real x : y) elements.push_back(Object::real(x));
    return make_vector(std::move(elements));
  }

  void take_value(Machine& m) {
    const Pending what = pending_;
    pending_ = Pending::none;
    if (m.depth() <= base_ || !m.level(1).is(Kind::real) || m.level(1).as_real().is_zero())
      give_up(m, m.error_number, true);
    if (m.depth() < base_ + 2) give_up(m, too_few_arguments);
    const Object value = m.level(2);
    m.stack().resize(base_);
    const std::size_t n = y_.size();
    if (what == Pending::fy) {
      // df/dy: a real, or for a vector of n an n x n matrix.
      std::vector<Real> j;
      if (!problem_.vector) {
        if (!value.is(Kind::real)) give_up(m, bad_argument_type);
        j.push_back(value.as_real());
      } else {
        if (!value.is(Kind::array)) give_up(m, bad_argument_type);
        const ArrayNode& a = value.node_as<ArrayNode>();
        if (!a.is_matrix || a.is_complex) give_up(m, bad_argument_type);
        if (a.rows != n || a.columns != n) give_up(m, invalid_dimension);
        for (const Object& e : a.elements) j.push_back(e.as_real());
      }
      jacobian_ = std::move(j);
      return;
    }
    const std::optional<std::vector<Real>> values = reals_of(value, problem_.vector);
    if (!values) give_up(m, bad_argument_type);
    if (values->size() != n) give_up(m, invalid_dimension);
    if (what == Pending::ft) {
      time_derivative_ = *values;
      derivatives_ready_ = true;
    } else {
      step_->report(*values);
    }
  }

  // After a step (or, for RRK, the two methods' steps) of size h_: the results, a
  // smaller step, or the next step. True when the command is done.
  bool finish_step(Machine& m) {
    std::vector<OdeStep> results = std::move(results_);
    results_.clear();
    if (goal_ == Goal::error) {
      const OdeStep& r = results.front();
      if (r.singular()) give_up(m, infinite_result);
      restore_variables(m);
      push_arguments(m);
      m.push(y_object(r.change()));
      m.push(y_object(r.error()));
      return true;
    }
    // The accepted step whose next step is the longest; on a tie the one used last.
    const OdeStep* chosen = nullptr;
    Real next;
    int chosen_method = 0;
    Real retry;  // none accepted: the longer of the shorter steps proposed
    for (const OdeStep& r : results) {
      const OdeMethod method = &r == &results.front() && methods_ != Methods::rosenbrock
                                   ? OdeMethod::fehlberg
                                   : OdeMethod::rosenbrock;
      const int number = method == OdeMethod::fehlberg ? 1 : 2;
      if (r.singular()) continue;
      const Real size = next_step_size(method, h_, r.largest_error(), tolerance_);
      if (tolerance_ < r.largest_error()) {
        if (abs(retry) < abs(size)) retry = size;
        continue;
      }
      if (!chosen || abs(next) < abs(size) || (abs(next) == abs(size) && number == preferred_)) {
        chosen = &r;
        next = size;
        chosen_method = number;
      }
    }
    if (!chosen) {
      // Rejected: again from the same point with a shorter step.
      const RealResult moved = (Wide(t_) + Wide(retry)).rounded();
      if (++rejections_ > max_rejections || moved.value == t_) give_up(m, bad_argument_value);
      h_ = retry;
      return false;
    }
    rejections_ = 0;
    t_ = (Wide(t_) + Wide(h_)).rounded().value;
    for (std::size_t i = 0; i < y_.size(); ++i)
      y_[i] = (Wide(y_[i]) + Wide(chosen->change()[i])).rounded().value;
    derivatives_ready_ = false;
    jacobian_.clear();
    time_derivative_.clear();
    preferred_ = chosen_method;
    m.store(problem_.t_name, Object::real(t_));
    m.store(problem_.y_name, y_object(y_));
    if (goal_ == Goal::one_step) {
      push_arguments(m);
      m.push(Object::real(next));
      if (methods_ == Methods::either) m.push(integer_object(chosen_method));
      return true;
    }
    if (t_ == final_t_) {
      push_arguments(m);
      return true;
    }
    // Toward the final value, never past it.
    const Wide left = Wide(final_t_) - Wide(t_);
    h_ = left.magnitude() < Wide(next).magnitude() || (left < Wide()) != next.is_negative()
             ? left.rounded().value
             : next;
    return false;
  }

  // The list and the tolerance (and for RRKSTEP nothing more: the results follow).
  void push_arguments(Machine& m) {
    m.push(arguments_[0]);
    m.push(arguments_[1]);
  }

  void restore_variables(Machine& m) {
    m.store(problem_.t_name, Object::real(t_));
    m.store(problem_.y_name, y_object(y_));
  }

  // Ends with an error: the variables back at the last point reached, the arguments
  // back on the stack. `caught`: the error the expression raised, reported as the
  // solver's.
  [[noreturn]] void give_up(Machine& m, std::uint32_t error, bool caught = false) {
    m.stack().resize(std::min(m.depth(), base_));
    restore_variables(m);
    for (Object& x : arguments_) m.push(std::move(x));
    if (caught && error_message(error).empty()) fail_with(error, m.error_text);
    fail(error, command_);
  }

  static constexpr int max_rejections = 200;

  Problem problem_;
  Goal goal_;
  Methods methods_;
  Real tolerance_;
  Real h_;
  Real final_t_;
  std::vector<Object> arguments_;
  std::uint32_t command_;
  std::size_t base_;
  Real t_;
  std::vector<Real> y_;
  std::vector<Real> jacobian_, time_derivative_;
  bool derivatives_ready_ = false;
  std::optional<OdeStep> step_;
  std::vector<OdeStep> results_;
  Pending pending_ = Pending::none;
  int preferred_ = 0;
  int rejections_ = 0;
};

void start(Machine& m, std::uint32_t command, Problem problem, Goal goal, Methods methods,
           Real tolerance, Real h, Real final_t, std::vector<Object> arguments, int last = 0) {
  auto solver = std::make_unique<OdeSolver>(m, command, std::move(problem), goal, methods,
                                            tolerance, h, final_t, std::move(arguments));
  solver->prefer(last);
  m.start_continuation(std::move(solver));
}

// The first step toward the final value: the size given, or the whole way.
Real first_step(const Tolerance& tolerance, Real t, Real final_t) {
  const Real whole = (Wide(final_t) - Wide(t)).rounded().value;
  if (!tolerance.first_step) return whole;
  const Real size = abs(*tolerance.first_step);
  return whole.is_negative() ? negate(size) : size;
}

// { list } xtol tfinal RKF / RRK: the solution at tfinal, stored in the variables.
void solve_to(Machine& m, const Args& a, std::uint32_t command, bool stiff) {
  Problem p = problem_arg(m, a[3], stiff);
  const Tolerance tolerance = tolerance_arg(a[2], true);
  const Real final_t = real_arg(a[1]);
  const Real t = p.t;
  if (final_t == t) {
    m.push(a[3]);
    m.push(a[2]);
    return;
  }
  const Real h = first_step(tolerance, t, final_t);
  start(m, command, std::move(p), Goal::final, stiff ? Methods::either : Methods::fehlberg,
        tolerance.value, h, final_t, {a[3], a[2], a[1]});
}

void rkf(Machine& m, const Args& a) { solve_to(m, a, cmd::rkf, false); }
void rrk(Machine& m, const Args& a) { solve_to(m, a, cmd::rrk, true); }

// { list } xtol h RKFSTEP: one step, and the size of the next.
void rkfstep(Machine& m, const Args& a) {
  Problem p = problem_arg(m, a[3], false);
  const Tolerance tolerance = tolerance_arg(a[2], false);
  const Real h = step_arg(a[1]);
  start(m, cmd::rkfstep, std::move(p), Goal::one_step, Methods::fehlberg, tolerance.value, h,
        Real(), {a[3], a[2], a[1]});
}

// { list } xtol h last RRKSTEP: one step by the better method, the size of the next and
// the method used (1 Fehlberg, 2 Rosenbrock); `last` is the one used before (0 none).
void rrkstep(Machine& m, const Args& a) {
  Problem p = problem_arg(m, a[4], true);
  const Tolerance tolerance = tolerance_arg(a[3], false);
  const Real h = step_arg(a[2]);
  const std::int64_t last = integer_arg(a[1]);
  if (last < 0 || last > 2) fail(bad_argument_value);
  start(m, cmd::rrkstep, std::move(p), Goal::one_step, Methods::either, tolerance.value, h, Real(),
        {a[4], a[3], a[2], a[1]}, static_cast<int>(last));
}

// { list } h RKFERR / RSBERR: the change over one step and its error estimate.
void step_error(Machine& m, const Args& a, std::uint32_t command, bool stiff) {
  Problem p = problem_arg(m, a[2], stiff);
  const Real h = step_arg(a[1]);
  start(m, command, std::move(p), Goal::error, stiff ? Methods::rosenbrock : Methods::fehlberg,
        Real::from_int64(1), h, Real(), {a[2], a[1]});
}

void rkferr(Machine& m, const Args& a) { step_error(m, a, cmd::rkferr, false); }
void rsberr(Machine& m, const Args& a) { step_error(m, a, cmd::rsberr, true); }

constexpr CommandRow rows[] = {
    {"RKF", 3, rkf}, {"RKFSTEP", 3, rkfstep}, {"RKFERR", 2, rkferr},
    {"RRK", 3, rrk}, {"RRKSTEP", 4, rrkstep}, {"RSBERR", 2, rsberr},
};

}  // namespace

std::span<const CommandRow> ode_commands() { return rows; }

}  // namespace rplrun
