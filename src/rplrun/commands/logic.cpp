// Tests and logic: comparisons, SAME, AND OR XOR NOT (also on binary integers and
// strings), IFT and IFTE.
#include <algorithm>

#include "commands/support.h"
#include "objects/algebraic.h"

namespace rplrun {

namespace {

// Binary integers compare by their values in the word size.
bool equal(const Object& x, const Object& y, int bits) {
  if (x.is_number() && y.is_number()) return x.to_complex() == y.to_complex();
  if (x.is(Kind::binary) && y.is(Kind::binary))
    return fit_word(x.as_binary(), bits) == fit_word(y.as_binary(), bits);
  return same(x, y);
}

void equals(Machine& m, const Args& a) { m.push(truth(equal(a[2], a[1], m.flags.word_size()))); }
void not_equals(Machine& m, const Args& a) {
  m.push(truth(!equal(a[2], a[1], m.flags.word_size())));
}

// -1, 0 or 1 for two reals, two binary integers (unsigned, in the word size) or two
// strings (by character codes).
int order(const Object& x, const Object& y, int bits) {
  if (x.is(Kind::binary) && y.is(Kind::binary)) {
    const std::uint64_t a = fit_word(x.as_binary(), bits);
    const std::uint64_t b = fit_word(y.as_binary(), bits);
    return a < b ? -1 : b < a ? 1 : 0;
  }
  if (x.is(Kind::real) && y.is(Kind::real)) {
    const Real a = x.as_real();
    const Real b = y.as_real();
    return a < b ? -1 : b < a ? 1 : 0;
  }
  if (x.is(Kind::string) && y.is(Kind::string)) {
    // By character codes: std::string compares as unsigned bytes, with memcmp.
    const int c = x.node() == y.node() ? 0 : x.as_string().compare(y.as_string());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  fail(bad_argument_type);
}

int order(Machine& m, const Args& a) { return order(a[2], a[1], m.flags.word_size()); }

void less(Machine& m, const Args& a) { m.push(truth(order(m, a) < 0)); }
void greater(Machine& m, const Args& a) { m.push(truth(order(m, a) > 0)); }
void less_equal(Machine& m, const Args& a) { m.push(truth(order(m, a) <= 0)); }
void greater_equal(Machine& m, const Args& a) { m.push(truth(order(m, a) >= 0)); }

// The same comparisons of two reals, for the evaluator's two-reals path.
const Real real_true = Real::from_int64(1);
Real truth_real(bool value) { return value ? real_true : Real(); }
Real equal_reals(Real x, Real y, Condition&) { return truth_real(x == y); }
Real unequal_reals(Real x, Real y, Condition&) { return truth_real(!(x == y)); }
Real less_reals(Real x, Real y, Condition&) { return truth_real(x < y); }
Real greater_reals(Real x, Real y, Condition&) { return truth_real(y < x); }
Real less_equal_reals(Real x, Real y, Condition&) { return truth_real(!(y < x)); }
Real greater_equal_reals(Real x, Real y, Condition&) { return truth_real(!(x < y)); }

void same_(Machine& m, const Args& a) { m.push(truth(same(a[2], a[1]))); }

bool flag_of(const Object& x) { return !real_arg(x).is_zero(); }

// AND OR XOR: bit by bit on two binary integers, or on the character codes of two
// strings of one length; otherwise logical on two reals, true when non-zero.
void logic2(Machine& m, const Args& a, BinaryOp op) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (x.is(Kind::binary) && y.is(Kind::binary)) {
    m.push(binary_arithmetic(m, op, x, y));
    return;
  }
  if (x.is(Kind::string) && y.is(Kind::string)) {
    const std::string& s = x.as_string();
    const std::string& t = y.as_string();
    if (s.size() != t.size()) fail(bad_argument_value);
    std::string out(s.size(), '\0');
    for (std::size_t k = 0; k < s.size(); ++k) {
      const auto c = static_cast<unsigned char>(s[k]);
      const auto d = static_cast<unsigned char>(t[k]);
      out[k] = static_cast<char>(*combine(op, c, d, 8));
    }
    m.push(Object::string(std::move(out)));
    return;
  }
  const bool p = flag_of(x);
  const bool q = flag_of(y);
  m.push(truth(op == BinaryOp::bit_and ? p && q : op == BinaryOp::bit_or ? p || q : p != q));
}

void and_(Machine& m, const Args& a) { logic2(m, a, BinaryOp::bit_and); }
void or_(Machine& m, const Args& a) { logic2(m, a, BinaryOp::bit_or); }
void xor_(Machine& m, const Args& a) { logic2(m, a, BinaryOp::bit_xor); }

void not_(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::binary)) {
    m.push(Object::binary(invert_word(x.as_binary(), m.flags.word_size())));
  } else if (x.is(Kind::string)) {
    std::string out = x.as_string();
    for (char& c : out) c = static_cast<char>(~c);
    m.push(Object::string(std::move(out)));
  } else {
    m.push(truth(!flag_of(x)));
  }
}

// The test of IFT and IFTE: a real (a binary integer is Bad Argument Type, as in IF).
// Lists, arrays and tagged objects as tests are not handled.
bool test_of(Machine& m, const Object& x) {
  const Kind kind = x.kind();
  if (kind == Kind::list || kind == Kind::array || kind == Kind::tagged) m.not_supported();
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
    m.push(build_algebraic(&a[3], 3, Object::command(cmd::ifte)));
    return;
  }
  m.evaluate(test_of(m, a[3]) ? a[2] : a[1]);
}

constexpr Algebra compare{Notation::infix, prec_compare, 2};
constexpr Operands maps = Operands::numbers_mapping_lists;

constexpr CommandRow rows[] = {
    {"==", 2, equals, compare, true, Operands::numbers_taking_lists, equal_reals},
    {"\\=/", 2, not_equals, compare, true, Operands::numbers_taking_lists, unequal_reals},
    {"<", 2, less, compare, true, maps, less_reals},
    {">", 2, greater, compare, true, maps, greater_reals},
    {"\\<=", 2, less_equal, compare, true, maps, less_equal_reals},
    {"\\>=", 2, greater_equal, compare, true, maps, greater_equal_reals},
    {.name = "SAME", .argc = 2, .handler = same_},
    {"AND", 2, and_, {Notation::infix, prec_and, 2}, true, maps},
    {"OR", 2, or_, {Notation::infix, prec_or, 2}, true, maps},
    {"XOR", 2, xor_, {Notation::infix, prec_or, 2}, true, maps},
    {"NOT", 1, not_, {Notation::prefix, prec_not, 1}, true, maps},
    {.name = "IFT", .argc = 2, .handler = ift},
    {.name = "IFTE", .argc = 3, .handler = ifte, .algebra = {Notation::function, prec_atom, 3}},
};

}  // namespace

std::span<const CommandRow> logic_commands() { return rows; }

}  // namespace rplrun
