// The search behind ROOT: the values at which to evaluate a function of one real, step
// by step, until it finds a zero, a sign reversal between two neighbouring 12-digit
// numbers, or a local extremum of the function's magnitude. The caller evaluates (the
// function is a program or an algebraic run by the machine) and reports each value.
#pragma once

#include <optional>
#include <vector>

#include "numbers/real.h"

namespace rplrun {

class RootSearch {
 public:
  enum class Result {
    searching,
    zero,           // the function is 0 at the root
    sign_reversal,  // it changes sign between the root and its neighbour
    extremum,       // its magnitude is least there, and not 0
    bad_guess,      // a guess has no real value
    constant,       // every value seen is the same
  };

  // The guesses, one to three.
  explicit RootSearch(std::vector<Real> guesses);

  // The value at which the function is wanted next, while searching.
  Real next() const { return pending_; }
  // The function's value at next(); none when it has no real value there.
  void report(std::optional<Real> value);

  Result result() const { return result_; }
  Real root() const { return best_.x; }

 private:
  struct Point {
    Real x;
    Real f;
  };
  enum class Phase { guesses, secant, downhill, minimum, bracket };

  void search();
  void finish(Result result, Point at);
  void evaluate(Real x);
  // The next step of each phase, from the points known.
  void step_secant();
  void step_downhill();
  void step_minimum();
  void step_bracket();
  // Starts the bracket phase when a and b have values of opposite signs.
  bool bracketed(const Point& a, const Point& b);

  std::vector<Real> guesses_;
  std::vector<Point> seen_;  // the guesses' values
  Phase phase_ = Phase::guesses;
  Result result_ = Result::searching;
  Real pending_;
  Point best_{};          // least magnitude so far
  Point other_{};         // the secant's second point, or the last point downhill
  Point low_{}, high_{};  // the bracket (of a sign change, or of a minimum around best_)
  Point last_{};
  int evaluations_ = 0;
  int flat_steps_ = 0;
  int slow_steps_ = 0;     // bracket steps that did not halve it
  bool all_equal_ = true;  // every value so far the same
};

}  // namespace rplrun
