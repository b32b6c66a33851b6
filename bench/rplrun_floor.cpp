// rplrun_floor: the decimal operations of the rplrun benchmark's programs, done
// directly through Intel's decimal library in C++: the limit that evaluating them as RPL
// is measured against.
//
//   rplrun_floor count N    0 1 N FOR i i + NEXT: the sum of 1..N
//   rplrun_floor fib N      the recursive Fibonacci number of N (n < 2: n)
//   rplrun_floor list N     1..N into a vector
//   rplrun_floor string N   the texts of 1..N appended to a string
//
// Prints the result (or its size) so that none of the work can be left out.
#define DECIMAL_CALL_BY_REFERENCE 0
#define DECIMAL_GLOBAL_ROUNDING 0
#define DECIMAL_GLOBAL_EXCEPTION_FLAGS 0
#include <bid_conf.h>
#include <bid_functions.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using D = BID_UINT128;
constexpr _IDEC_round nearest = BID_ROUNDING_TO_NEAREST;
_IDEC_flags flags = 0;

D add(D a, D b) { return bid128_add(a, b, nearest, &flags); }
D sub(D a, D b) { return bid128_sub(a, b, nearest, &flags); }
bool less(D a, D b) { return bid128_quiet_less(a, b, &flags) != 0; }
bool less_equal(D a, D b) { return bid128_quiet_less_equal(a, b, &flags) != 0; }
D number(int n) { return bid128_from_int32(n); }

void print(D x) {
  char text[64];
  bid128_to_string(text, x, &flags);
  std::printf("%s\n", text);
}

// A FOR loop from 1 to n: the body gets the counter; NEXT adds 1 and compares.
template <class Body>
void for_loop(D n, Body body) {
  const D one = number(1);
  D i = one;
  do {
    body(i);
    i = add(i, one);
  } while (less_equal(i, n));
}

D fib(D n) {
  static const D one = number(1);
  static const D two = number(2);
  if (less(n, two)) return n;
  return add(fib(sub(n, one)), fib(sub(n, two)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rplrun_floor count|fib|list|string N\n");
    return 2;
  }
  const std::string what = argv[1];
  const D n = number(std::atoi(argv[2]));
  if (what == "count") {
    D sum = number(0);
    for_loop(n, [&](D i) { sum = add(sum, i); });
    print(sum);
  } else if (what == "fib") {
    print(fib(n));
  } else if (what == "list") {
    std::vector<D> items;
    for_loop(n, [&](D i) { items.push_back(i); });
    std::printf("%zu\n", items.size());
  } else if (what == "string") {
    std::string text;
    for_loop(n, [&](D i) {
      char digits[64];
      bid128_to_string(digits, i, &flags);
      text += digits;
    });
    std::printf("%zu\n", text.size());
  } else {
    std::fprintf(stderr, "rplrun_floor: no program named %s\n", what.c_str());
    return 2;
  }
  return 0;
}
