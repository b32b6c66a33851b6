#include "numbers/root_search.h"

#include "numbers/real_functions.h"
#include "numbers/wide.h"

namespace rplrun {

namespace {

constexpr int most_evaluations = 2000;
constexpr int most_flat_steps = 40;

Wide w(Real x) { return Wide(x); }
Real twelve(Wide x) { return x.rounded().value; }
bool opposite(Real a, Real b) { return a.sign() * b.sign() < 0; }
bool smaller(Real a, Real b) { return abs(a) < abs(b); }
Real midpoint(Real a, Real b) { return twelve((w(a) + w(b)) / Wide::from_int(2)); }

// The neighbouring 12-digit number of x, upward or downward.
Real neighbour(Real x, bool upward) {
  const Real unit = x.is_zero()
                        ? Real::min()
                        : twelve(Wide::from_int(10).power(Wide::from_int(x.exponent() - 11)));
  return twelve(upward ? w(x) + w(unit) : w(x) - w(unit));
}

}  // namespace

RootSearch::RootSearch(std::vector<Real> guesses) : guesses_(std::move(guesses)) {
  pending_ = guesses_.front();
}

void RootSearch::finish(Result result, Point at) {
  result_ = result;
  best_ = at;
}

void RootSearch::evaluate(Real x) {
  if (evaluations_ >= most_evaluations)
    finish(Result::extremum, best_);
  else
    pending_ = x;
}

void RootSearch::report(std::optional<Real> value) {
  ++evaluations_;
  if (phase_ == Phase::guesses) {
    if (!value) {
      result_ = Result::bad_guess;
      return;
    }
    seen_.push_back({pending_, *value});
    if (value->is_zero()) return finish(Result::zero, seen_.back());
    if (seen_.size() < guesses_.size()) return evaluate(guesses_[seen_.size()]);
    return search();
  }
  if (!value) {
    // No value here: back off halfway toward the best point.
    const Real x = midpoint(best_.x, pending_);
    if (x == best_.x || x == pending_) return finish(Result::extremum, best_);
    return evaluate(x);
  }
  const Point p{pending_, *value};
  if (p.f.is_zero()) return finish(Result::zero, p);
  if (!(p.f == seen_.front().f)) all_equal_ = false;
  switch (phase_) {
    case Phase::secant:
      if (bracketed(p, best_)) return;
      if (smaller(p.f, best_.f)) {
        other_ = best_;
        best_ = p;
        flat_steps_ = 0;
      } else if (abs(p.f) == abs(best_.f)) {
        other_ = p;
        ++flat_steps_;
      } else {
        other_ = p;
        phase_ = Phase::downhill;
        return step_downhill();
      }
      return step_secant();
    case Phase::downhill:
      if (bracketed(p, best_)) return;
      if (smaller(p.f, best_.f)) {
        // Downhill again: the secant may now lead on.
        other_ = best_;
        best_ = p;
        phase_ = Phase::secant;
        return step_secant();
      }
      low_ = p.x < best_.x ? p : other_;
      high_ = p.x < best_.x ? other_ : p;
      phase_ = Phase::minimum;
      return step_minimum();
    case Phase::minimum:
      if (bracketed(p, best_)) return;
      if (smaller(p.f, best_.f)) {
        (p.x < best_.x ? high_ : low_) = best_;
        best_ = p;
      } else {
        (p.x < best_.x ? low_ : high_) = p;
      }
      return step_minimum();
    case Phase::bracket: {
      const Wide width = w(high_.x) - w(low_.x);
      (opposite(p.f, low_.f) ? high_ : low_) = p;
      const Wide narrowed = w(high_.x) - w(low_.x);
      slow_steps_ = Wide::from_int(2) * narrowed < width ? 0 : slow_steps_ + 1;
      return step_bracket();
    }
    case Phase::guesses: break;
  }
}

// After the guesses: a sign change among them is a bracket; else the search starts from
// the best two, or from the one guess and a point beside it.
void RootSearch::search() {
  best_ = seen_.front();
  for (const Point& p : seen_) {
    if (smaller(p.f, best_.f)) best_ = p;
    if (!(p.f == seen_.front().f)) all_equal_ = false;
  }
  for (const Point& p : seen_)
    if (bracketed(p, best_)) return;
  phase_ = Phase::secant;
  bool second = false;
  for (const Point& p : seen_) {
    if (p.x == best_.x) continue;
    if (!second || smaller(p.f, other_.f)) other_ = p;
    second = true;
  }
  if (second) return step_secant();
  const Real x = best_.x;
  other_ = best_;
  evaluate(x.is_zero() ? Real::from_decimal(false, 1, -3).value
                       : twelve(w(x) + w(x) * Wide::parse("1E-3")));
}

void RootSearch::step_secant() {
  if (best_.f == other_.f) {
    // Flat: step away ever farther, until the values differ or the function looks
    // constant.
    if (flat_steps_ >= most_flat_steps)
      return finish(all_equal_ ? Result::constant : Result::extremum, best_);
    const Wide away = w(other_.x) - w(best_.x);
    const RealResult x = (w(other_.x) + Wide::from_int(2) * away).rounded();
    if (x.condition != Condition::none || x.value == other_.x)
      return finish(all_equal_ ? Result::constant : Result::extremum, best_);
    return evaluate(x.value);
  }
  const Wide slope = (w(best_.f) - w(other_.f)) / (w(best_.x) - w(other_.x));
  const RealResult x = (w(best_.x) - w(best_.f) / slope).rounded();
  if (x.condition != Condition::none) {
    phase_ = Phase::downhill;
    return step_downhill();
  }
  if (x.value == best_.x) {
    // The secant stays put: try the neighbour it points to.
    const bool upward = (w(best_.f) / slope).rounded().value.is_negative();
    return evaluate(neighbour(best_.x, upward));
  }
  evaluate(x.value);
}

// Past best_ away from other_, which is worse, looking for a point worse on that side
// too, so that a least magnitude lies between them.
void RootSearch::step_downhill() {
  const Wide away = w(best_.x) - w(other_.x);
  const RealResult x = (w(best_.x) + away).rounded();
  if (x.condition != Condition::none || x.value == best_.x) return finish(Result::extremum, best_);
  evaluate(x.value);
}

// Halves the larger side around best_ until both sides are neighbours of it.
void RootSearch::step_minimum() {
  const bool left = w(high_.x) - w(best_.x) < w(best_.x) - w(low_.x);
  const Real x = left ? midpoint(low_.x, best_.x) : midpoint(best_.x, high_.x);
  if (x == best_.x || x == low_.x || x == high_.x) return finish(Result::extremum, best_);
  evaluate(x);
}

bool RootSearch::bracketed(const Point& a, const Point& b) {
  if (!opposite(a.f, b.f)) return false;
  low_ = a.x < b.x ? a : b;
  high_ = a.x < b.x ? b : a;
  phase_ = Phase::bracket;
  slow_steps_ = 0;
  step_bracket();
  return true;
}

// Interpolates between the ends of the bracket, or halves it when interpolation has
// been slow; ends when the ends are neighbours, at the one of least magnitude (the
// upper on a tie).
void RootSearch::step_bracket() {
  const Real middle = midpoint(low_.x, high_.x);
  if (middle == low_.x || middle == high_.x)
    return finish(Result::sign_reversal, smaller(low_.f, high_.f) ? low_ : high_);
  Real x = middle;
  if (slow_steps_ < 2) {
    const Wide t = w(low_.f) / (w(low_.f) - w(high_.f));
    const Real secant = twelve(w(low_.x) + t * (w(high_.x) - w(low_.x)));
    if (low_.x < secant && secant < high_.x) x = secant;
  }
  evaluate(x);
}

}  // namespace rplrun
