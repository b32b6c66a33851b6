// rplrun_floor: the decimal work of the rplrun benchmark's programs, done in C++ with
// rplrun's own numbers layer: the limit that evaluating them as RPL is measured
// against. Every addition, subtraction and comparison is the one rplrun's commands
// make (34 digits, rounded once to 12, a condition checked beside each result), and
// numbers become text through the display's own STD formatting; only the interpreter
// (reading, the stacks, names, frames, dispatch) is left out.
//
//   rplrun_floor count N    0 1 N FOR i i + NEXT: the sum of 1..N
//   rplrun_floor fib N      the recursive Fibonacci number of N (n < 2: n)
//   rplrun_floor list N     1..N into a vector
//   rplrun_floor string N   the texts of 1..N appended to a string
//
// Prints the result (or its size) so that none of the work can be left out.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "numbers/number_format.h"
#include "numbers/real.h"
#include "numbers/real_functions.h"

namespace {

using rplrun::Condition;
using rplrun::Real;

Condition condition = Condition::none;

// As rplrun's arithmetic: the result, with a condition that would be settled by the
// flags (here only recorded: none arises in these programs).
Real plus(Real a, Real b) { return rplrun::add(a, b, condition); }
Real minus(Real a, Real b) { return rplrun::subtract(a, b, condition); }

void print(Real x) { std::printf("%s\n", rplrun::format_real(x, rplrun::DisplayMode{}).c_str()); }

// A FOR loop from 1 to n: the body gets the counter; NEXT adds 1 and compares.
template <class Body>
void for_loop(Real n, Body body) {
  const Real one = Real::from_int64(1);
  Real i = one;
  do {
    body(i);
    i = plus(i, one);
  } while (i <= n);
}

Real fib(Real n) {
  static const Real one = Real::from_int64(1);
  static const Real two = Real::from_int64(2);
  if (n < two) return n;
  return plus(fib(minus(n, one)), fib(minus(n, two)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rplrun_floor count|fib|list|string N\n");
    return 2;
  }
  const std::string what = argv[1];
  const Real n = Real::from_int64(std::atoi(argv[2]));
  if (what == "count") {
    Real sum;
    for_loop(n, [&](Real i) { sum = plus(sum, i); });
    print(sum);
  } else if (what == "fib") {
    print(fib(n));
  } else if (what == "list") {
    std::vector<Real> items;
    for_loop(n, [&](Real i) { items.push_back(i); });
    std::printf("%zu\n", items.size());
  } else if (what == "string") {
    std::string text;
    const rplrun::DisplayMode standard;
    for_loop(n, [&](Real i) { rplrun::append_real(text, i, standard); });
    std::printf("%zu\n", text.size());
  } else {
    std::fprintf(stderr, "rplrun_floor: no program named %s\n", what.c_str());
    return 2;
  }
  return condition == Condition::none ? 0 : 1;
}
