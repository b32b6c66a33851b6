// The real and complex functions against data/function_table.txt: runs recorded on a
// real HP48GX and values from independent sources. A few lines of RPL per row, run by
// a small evaluator of number commands, so that the rows read like the records.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numbers/numbers.h"
#include "table.h"

namespace {

using namespace rplrun;

NumberResult as_number(Real x) { return RealResult{x}; }
NumberResult as_number(RealResult r) { return r; }
NumberResult as_number(ComplexResult r) { return r; }
NumberResult as_number(const Complex& z) { return ComplexResult{z}; }
NumberResult as_number(NumberResult r) { return r; }

struct Item {
  NumberResult number;
  std::string string;  // set for a string object (from ->STR)
  bool is_string = false;
};

struct Machine {
  std::vector<Item> stack;
  AngleMode angle = AngleMode::degrees;
  DisplayMode display;
  RandomGenerator generator;

  NumberResult pop() {
    EXPECT_FALSE(stack.empty() || stack.back().is_string);
    if (stack.empty()) return {};
    const NumberResult n = stack.back().number;
    stack.pop_back();
    return n;
  }
  Real pop_real() {
    const NumberResult n = pop();
    EXPECT_FALSE(n.is_complex);
    return n.real();
  }
  Complex pop_complex() { return pop().value; }  // a real has a zero imaginary part
  void push(NumberResult n) { stack.push_back({n, {}, false}); }
  bool complex_on_top(int levels) const {
    for (int i = 1; i <= levels && i <= static_cast<int>(stack.size()); ++i)
      if (stack[stack.size() - i].number.is_complex) return true;
    return false;
  }

  std::string shown() const {
    std::string out;
    for (const Item& item : stack) {
      if (!out.empty()) out += ' ';
      if (item.is_string) {
        out += '"' + item.string + '"';
        continue;
      }
      if (item.number.is_complex)
        append_complex(out, item.number.value, display);
      else
        append_real(out, item.number.real(), display);
      if (item.number.condition != Condition::none)
        out += std::string("!") + condition_name(item.number.condition);
    }
    return out;
  }
};

using Command = std::function<void(Machine&)>;

// A function of one argument, with its complex form where the calculator has one.
template <class R, class C>
Command one(R real, C complex) {
  return [real, complex](Machine& m) {
    if (m.complex_on_top(1)) {
      if constexpr (std::is_same_v<C, std::nullptr_t>)
        ADD_FAILURE() << "no complex form";
      else
        m.push(as_number(complex(m.pop_complex())));
    } else {
      m.push(as_number(real(m.pop_real())));
    }
  };
}

template <class R, class C>
Command two(R real, C complex) {
  return [real, complex](Machine& m) {
    if (m.complex_on_top(2)) {
      if constexpr (std::is_same_v<C, std::nullptr_t>) {
        ADD_FAILURE() << "no complex form";
      } else {
        const Complex b = m.pop_complex();
        m.push(as_number(complex(m.pop_complex(), b)));
      }
    } else {
      const Real b = m.pop_real();
      m.push(as_number(real(m.pop_real(), b)));
    }
  };
}

// Trigonometric functions take the angle mode; complex ones work in radians.
template <class R, class C>
Command angular(R real, C complex) {
  return [real, complex](Machine& m) {
    if (m.complex_on_top(1))
      m.push(as_number(complex(m.pop_complex())));
    else
      m.push(as_number(real(m.pop_real(), m.angle)));
  };
}

#define ONE(f) one([](Real x) { return f(x); }, [](const Complex& z) { return f(z); })
#define ONE_REAL(f) one([](Real x) { return f(x); }, nullptr)
#define TWO(f) two([](Real a, Real b) { return f(a, b); }, \
                   [](const Complex& a, const Complex& b) { return f(a, b); })
#define TWO_REAL(f) two([](Real a, Real b) { return f(a, b); }, nullptr)
#define ANGULAR(f) angular([](Real x, AngleMode a) { return f(x, a); }, \
                           [](const Complex& z) { return f(z); })

Command display_mode(NumberFormat format) {
  return [format](Machine& m) { m.display = {format, static_cast<int>(m.pop_real().int64_toward_zero()), '.'}; };
}

Command constant(Real value) {
  return [value](Machine& m) { m.push(RealResult{value}); };
}

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table = {
      {"+", TWO(add)}, {"-", TWO(subtract)}, {"*", TWO(multiply)}, {"/", TWO(divide)},
      {"^", two([](Real a, Real b) { return power(a, b); },
                [](const Complex& a, const Complex& b) { return power(a, b); })},
      {"NEG", ONE(negate)}, {"INV", ONE(inverse)}, {"SQ", ONE(square)},
      {"\\v/", ONE(square_root)}, {"ABS", ONE(abs)}, {"SIGN", ONE(sign)},
      {"CONJ", one([](Real x) { return x; }, [](const Complex& z) { return conj(z); })}, {"EXP", ONE(exp)}, {"LN", ONE(ln)}, {"LOG", ONE(log)},
      {"ALOG", ONE(alog)}, {"SINH", ONE(sinh)}, {"COSH", ONE(cosh)}, {"TANH", ONE(tanh)},
      {"ASINH", ONE(asinh)}, {"ACOSH", ONE(acosh)}, {"ATANH", ONE(atanh)},
      {"SIN", ANGULAR(sin)}, {"COS", ANGULAR(cos)}, {"TAN", ANGULAR(tan)},
      {"ASIN", ANGULAR(asin)}, {"ACOS", ANGULAR(acos)}, {"ATAN", ANGULAR(atan)},
      {"IP", ONE_REAL(ip)}, {"FP", ONE_REAL(fp)}, {"FLOOR", ONE_REAL(floor)},
      {"CEIL", ONE_REAL(ceil)}, {"MANT", ONE_REAL(mantissa)}, {"XPON", ONE_REAL(xpon)},
      {"!", ONE_REAL(factorial)}, {"FACT", ONE_REAL(factorial)}, {"EXPM", ONE_REAL(expm)},
      {"LNP1", ONE_REAL(lnp1)}, {"D\\->R", ONE_REAL(deg_to_rad)},
      {"R\\->D", ONE_REAL(rad_to_deg)}, {"MOD", TWO_REAL(mod)}, {"MIN", TWO_REAL(min)},
      {"MAX", TWO_REAL(max)}, {"%", TWO_REAL(percent)}, {"%T", TWO_REAL(percent_total)},
      {"%CH", TWO_REAL(percent_change)}, {"RND", TWO_REAL(rnd)}, {"TRNC", TWO_REAL(trnc)},
      {"XROOT", TWO_REAL(xroot)}, {"COMB", TWO_REAL(comb)}, {"PERM", TWO_REAL(perm)},
      {"ARG", [](Machine& m) { m.push(arg(m.pop_complex(), m.angle)); }},
      {"IM", [](Machine& m) { m.push(RealResult{m.pop_complex().im}); }},
      {"RE", [](Machine& m) { m.push(RealResult{m.pop_complex().re}); }},
      {"R\\->C", [](Machine& m) {
         const Real im = m.pop_real();
         m.push(ComplexResult{{m.pop_real(), im}});
       }},
      {"C\\->R", [](Machine& m) {
         const Complex z = m.pop_complex();
         m.push(RealResult{z.re});
         m.push(RealResult{z.im});
       }},
      {"RAND", [](Machine& m) { m.push(RealResult{m.generator.next()}); }},
      {"RDZ", [](Machine& m) { m.generator.seed(m.pop_real()); }},
      {"DEG", [](Machine& m) { m.angle = AngleMode::degrees; }},
      {"RAD", [](Machine& m) { m.angle = AngleMode::radians; }},
      {"GRAD", [](Machine& m) { m.angle = AngleMode::grads; }},
      {"STD", [](Machine& m) { m.display = {}; }},
      {"FIX", display_mode(NumberFormat::fixed)},
      {"SCI", display_mode(NumberFormat::scientific)},
      {"ENG", display_mode(NumberFormat::engineering)},
      {"\\->STR", [](Machine& m) {
         const NumberResult n = m.pop();
         m.stack.push_back({{}, n.is_complex ? format_complex(n.value, m.display)
                                             : format_real(n.real(), m.display), true});
       }},
      // The symbolic constants, as \->NUM makes them.
      {"\\pi", constant(Real::pi())}, {"e", constant(Real::e())},
      {"MAXR", constant(Real::max())}, {"MINR", constant(Real::min())},
      {"\\->NUM", [](Machine&) {}},
  };
  return table;
}

// (re,im) or the polar (r,\<)angle) in the angle mode.
void push_complex(Machine& m, const std::string& token) {
  const std::size_t comma = token.find(',');
  const Real re = parse_real(token.substr(1, comma - 1)).value().value;
  std::string second = token.substr(comma + 1, token.size() - comma - 2);
  if (second.rfind("\\<)", 0) == 0) {
    m.push(from_polar(re, parse_real(second.substr(3)).value().value, m.angle));
    return;
  }
  m.push(ComplexResult{{re, parse_real(second).value().value}});
}

void run(Machine& m, const std::string& rpl) {
  std::istringstream in(rpl);
  for (std::string token; in >> token;) {
    if (token[0] == '(') {
      push_complex(m, token);
    } else if (const auto r = parse_real(token)) {
      m.push(*r);
    } else if (const auto c = commands().find(token); c != commands().end()) {
      c->second(m);
    } else {
      ADD_FAILURE() << "unknown word " << token;
    }
  }
}

TEST(FunctionTable, RecordedAndIndependentValues) {
  const auto rows = read_table("function_table.txt");
  EXPECT_GE(rows.size(), 90u);
  for (const Row& row : rows) {
    ASSERT_GE(row.fields.size(), 2u) << "line " << row.line;
    SCOPED_TRACE("function_table.txt:" + std::to_string(row.line) + ": " + row.fields[0]);
    Machine m;
    run(m, row.fields[0]);
    EXPECT_EQ(m.shown(), row.fields[1]);
  }
}

}  // namespace
