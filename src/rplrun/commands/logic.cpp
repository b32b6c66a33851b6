// Tests and logic: comparisons, SAME, AND OR XOR NOT, IFT and IFTE.
#include <algorithm>

#include "rplrun/algebraic.h"
#include "rplrun/commands/support.h"

namespace rplrun {

namespace {

bool equal(const Object& x, const Object& y) {
  if (x.is_number() && y.is_number()) return x.to_complex() == y.to_complex();
  return same(x, y);
}

void equals(Machine& m, const Args& a) { m.push(truth(equal(a[2], a[1]))); }
void not_equals(Machine& m, const Args& a) { m.push(truth(!equal(a[2], a[1]))); }

// -1, 0 or 1 for two reals or two strings (by character codes).
int order(const Object& x, const Object& y) {
  if (x.is(Kind::real) && y.is(Kind::real)) {
    const Real a = x.as_real();
    const Real b = y.as_real();
    return a < b ? -1 : b < a ? 1 : 0;
  }
  if (x.is(Kind::string) && y.is(Kind::string)) {
    const std::string& a = x.as_string();
    const std::string& b = y.as_string();
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char p, char q) {
          return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
        });
    return less ? -1 : a == b ? 0 : 1;
  }
  fail(bad_argument_type);
}

void less(Machine& m, const Args& a) { m.push(truth(order(a[2], a[1]) < 0)); }
void greater(Machine& m, const Args& a) { m.push(truth(order(a[2], a[1]) > 0)); }
void less_equal(Machine& m, const Args& a) { m.push(truth(order(a[2], a[1]) <= 0)); }
void greater_equal(Machine& m, const Args& a) { m.push(truth(order(a[2], a[1]) >= 0)); }

void same_(Machine& m, const Args& a) { m.push(truth(same(a[2], a[1]))); }

bool flag_of(const Object& x) { return !real_arg(x).is_zero(); }

void and_(Machine& m, const Args& a) { m.push(truth(flag_of(a[2]) && flag_of(a[1]))); }
void or_(Machine& m, const Args& a) { m.push(truth(flag_of(a[2]) || flag_of(a[1]))); }
void xor_(Machine& m, const Args& a) { m.push(truth(flag_of(a[2]) != flag_of(a[1]))); }
void not_(Machine& m, const Args& a) { m.push(truth(!flag_of(a[1]))); }

void ift(Machine& m, const Args& a) {
  if (flag_of(a[2])) m.evaluate(a[1]);
}

void ifte(Machine& m, const Args& a) {
  if (a[3].is_symbolic()) {
    m.push(build_algebraic(&a[3], 3, Object::command(command_id("IFTE"))));
    return;
  }
  m.evaluate(flag_of(a[3]) ? a[2] : a[1]);
}

constexpr Algebra compare{Notation::infix, prec_compare, 2};

constexpr CommandRow rows[] = {
    {"==", 2, equals, compare, true},
    {"\\=/", 2, not_equals, compare, true},
    {"<", 2, less, compare, true},
    {">", 2, greater, compare, true},
    {"\\<=", 2, less_equal, compare, true},
    {"\\>=", 2, greater_equal, compare, true},
    {"SAME", 2, same_},
    {"AND", 2, and_, {Notation::infix, prec_and, 2}, true},
    {"OR", 2, or_, {Notation::infix, prec_or, 2}, true},
    {"XOR", 2, xor_, {Notation::infix, prec_or, 2}, true},
    {"NOT", 1, not_, {Notation::prefix, prec_not, 1}, true},
    {"IFT", 2, ift},
    {"IFTE", 3, ifte, {Notation::function, prec_atom, 3}},
};

}  // namespace

std::span<const CommandRow> logic_commands() { return rows; }

}  // namespace rplrun
