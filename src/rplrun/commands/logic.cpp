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

// The test of IFT and IFTE: a real. Lists, arrays, binary integers and tagged objects
// as tests are not handled.
bool test_of(Machine& m, const Object& x) {
  const Kind kind = x.kind();
  if (kind == Kind::list || kind == Kind::array || kind == Kind::binary || kind == Kind::tagged)
    m.not_supported();
  return flag_of(x);
}

void ift(Machine& m, const Args& a) {
  if (test_of(m, a[2])) m.evaluate(a[1]);
}

// IFTE with a symbolic test builds 'IFTE(test,a,b)', for which both branches must be
// able to stand in an algebraic.
void ifte(Machine& m, const Args& a) {
  if (a[3].is_symbolic()) {
    for (int level : {1, 2}) {
      if (!a[level].is_number() && !a[level].is_symbolic()) fail(bad_argument_type);
    }
    m.push(build_algebraic(&a[3], 3, Object::command(command_id("IFTE"))));
    return;
  }
  m.evaluate(test_of(m, a[3]) ? a[2] : a[1]);
}

constexpr Algebra compare{Notation::infix, prec_compare, 2};

constexpr CommandRow rows[] = {
    {"==", 2, equals, compare, true, true},
    {"\\=/", 2, not_equals, compare, true, true},
    {"<", 2, less, compare, true},
    {">", 2, greater, compare, true},
    {"\\<=", 2, less_equal, compare, true},
    {"\\>=", 2, greater_equal, compare, true},
    {.name = "SAME", .argc = 2, .handler = same_, .any_objects = true},
    {"AND", 2, and_, {Notation::infix, prec_and, 2}, true},
    {"OR", 2, or_, {Notation::infix, prec_or, 2}, true},
    {"XOR", 2, xor_, {Notation::infix, prec_or, 2}, true},
    {"NOT", 1, not_, {Notation::prefix, prec_not, 1}, true},
    {.name = "IFT", .argc = 2, .handler = ift, .any_objects = true},
    {.name = "IFTE",
     .argc = 3,
     .handler = ifte,
     .algebra = {Notation::function, prec_atom, 3},
     .any_objects = true},
};

}  // namespace

std::span<const CommandRow> logic_commands() { return rows; }

}  // namespace rplrun
