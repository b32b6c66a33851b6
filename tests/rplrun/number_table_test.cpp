// Reading, rounding, the range rules and every display mode, against the table that
// Python's decimal module wrote (data/make_number_table.py); then what the reader and
// the commands need around a real: which texts are reals, integer conversions, the
// value as displayed, the generator.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

#include "numbers/numbers.h"
#include "table.h"

namespace {

using namespace rplrun;

Real real(const char* text) { return parse_real(text).value().value; }

DisplayMode mode_of(const std::string& text) {
  std::istringstream in(text);
  std::string kind;
  std::string word;
  DisplayMode mode;
  in >> kind;
  mode.format = kind == "FIX"   ? NumberFormat::fixed
                : kind == "SCI" ? NumberFormat::scientific
                : kind == "ENG" ? NumberFormat::engineering
                                : NumberFormat::standard;
  while (in >> word) {
    if (word == ",")
      mode.fraction_mark = ',';
    else
      mode.digits = std::stoi(word);
  }
  return mode;
}

// A literal, or "a b op" with one of + - * /; the two forms of the arithmetic agree.
RealResult evaluate(const std::string& expression) {
  std::istringstream in(expression);
  std::string a, b, op;
  in >> a >> b >> op;
  const RealResult x = parse_real(a).value();
  if (b.empty()) return x;
  const Real y = real(b.c_str());
  RealResult r;
  Condition condition = Condition::none;
  Real value;
  switch (op[0]) {
    case '+': r = add(x.value, y), value = add(x.value, y, condition); break;
    case '-': r = subtract(x.value, y), value = subtract(x.value, y, condition); break;
    case '*': r = multiply(x.value, y), value = multiply(x.value, y, condition); break;
    default: r = divide(x.value, y), value = divide(x.value, y, condition); break;
  }
  EXPECT_EQ(value, r.value);
  EXPECT_EQ(condition, r.condition);
  return r;
}

TEST(NumberTable, ReadingRoundingRangeAndDisplayMatchTheDecimalModule) {
  const auto rows = read_table("number_table.txt");
  EXPECT_GE(rows.size(), 200u);
  for (const Row& row : rows) {
    ASSERT_EQ(row.fields.size(), 4u) << "line " << row.line;
    SCOPED_TRACE("number_table.txt:" + std::to_string(row.line) + ": " + row.fields[0] + " in " +
                 row.fields[1]);
    const RealResult r = evaluate(row.fields[0]);
    EXPECT_EQ(format_real(r.value, mode_of(row.fields[1])), row.fields[2]);
    EXPECT_STREQ(condition_name(r.condition), row.fields[3].c_str());
  }
}

TEST(RealLiterals, OnlyTheCalculatorsSyntaxIsAReal) {
  struct Case {
    const char* text;
    char mark;
    const char* shown;  // nullptr: not a real
  };
  const Case cases[] = {
      {"-.5E-3", '.', "-.0005"}, {"5.E3", '.', "5000"},  {"1,5", ',', "1.5"},
      {"+5", '.', nullptr},      {"1e5", '.', nullptr},  {"1,5", '.', nullptr},
      {"1.5", ',', nullptr},     {"", '.', nullptr},     {"-", '.', nullptr},
      {".", '.', nullptr},       {"E5", '.', nullptr},   {"1E", '.', nullptr},
      {"1E-", '.', nullptr},     {"1E+5", '.', nullptr}, {"1.2.3", '.', nullptr},
      {"1E5.5", '.', nullptr},   {"--1", '.', nullptr},  {"1 2", '.', nullptr},
      {"12A", '.', nullptr},     {"-E5", '.', nullptr},  {".E5", '.', nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = parse_real(c.text, c.mark);
    if (c.shown == nullptr) {
      EXPECT_FALSE(r.has_value());
    } else {
      ASSERT_TRUE(r.has_value());
      EXPECT_EQ(format_real(r->value, {}), c.shown);
    }
  }
  // Far more digits than any exponent counter would hold stay exact in the exponent.
  EXPECT_EQ(format_real(real(("1" + std::string(600, '0')).c_str()), {}), "9.99999999999E499");
  EXPECT_EQ(format_real(real(("." + std::string(520, '0') + "1").c_str()), {}), "0");
  EXPECT_EQ(format_real(real(("." + std::string(400, '0') + "15").c_str()), {}), "1.5E-401");
}

TEST(RealConversions, IntegersForIndicesAndCounts) {
  constexpr auto big = std::numeric_limits<std::int64_t>::max();
  constexpr auto small = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(real("3").exact_int64(), std::optional<std::int64_t>(3));
  EXPECT_EQ(real("-1.2E3").exact_int64(), std::optional<std::int64_t>(-1200));
  EXPECT_EQ(real("2.5").exact_int64(), std::nullopt);
  EXPECT_EQ(real("1E20").exact_int64(), std::nullopt);
  EXPECT_EQ(real("2.5").int64_nearest(), 3);
  EXPECT_EQ(real("-2.5").int64_nearest(), -3);
  EXPECT_EQ(real("-2.7").int64_toward_zero(), -2);
  EXPECT_EQ(real("1E20").int64_nearest(), big);
  EXPECT_EQ(real("-1E20").int64_toward_zero(), small);
  EXPECT_EQ(real("-1").uint64_nearest(), 0u);
  EXPECT_EQ(real("1E30").uint64_nearest(), std::numeric_limits<std::uint64_t>::max());
  EXPECT_DOUBLE_EQ(real("-1.5E-3").to_double(), -1.5e-3);
  EXPECT_EQ(format_real(Real::from_int64(small), {}), "-9.22337203685E18");
  EXPECT_EQ(format_real(Real::from_uint64(std::numeric_limits<std::uint64_t>::max()), {}),
            "1.84467440737E19");
  EXPECT_TRUE(real("1.2E3").is_integer());
  EXPECT_FALSE(real("1.23456789012E10").is_integer());
  EXPECT_EQ(real("0").exponent(), 0);
  EXPECT_EQ(real(".00042").exponent(), -4);
  // Comparisons are numeric, whatever digits an operation left.
  EXPECT_EQ(multiply(real("2.5"), real("4")).value, real("10"));
  EXPECT_LT(real("-1E-499"), Real());
  EXPECT_GT(Real::max(), real("9.99999999998E499"));
  EXPECT_EQ(negate(Real()).sign(), 0);
}

TEST(NumberDisplay, ComplexAndTheValueAsDisplayed) {
  const Complex z{real("-1"), real(".5")};
  EXPECT_EQ(format_complex(z, {}), "(-1,.5)");
  EXPECT_EQ(format_complex(z, {NumberFormat::fixed, 2, ','}), "(-1,00;,50)");
  struct Case {
    const char* value;
    NumberFormat format;
    int digits;
    const char* rounded;
  };
  const Case cases[] = {
      {"1.23456", NumberFormat::fixed, 2, "1.23"},
      {".004", NumberFormat::fixed, 2, ".004"},   // shown as 4.00E-3
      {".00456", NumberFormat::fixed, 2, ".00456"},
      {"98765.4", NumberFormat::scientific, 2, "98800"},
      {"456789", NumberFormat::engineering, 1, "460000"},
      {"1.23456789012", NumberFormat::scientific, 11, "1.23456789012"},
      {"1.23456789012", NumberFormat::standard, 0, "1.23456789012"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(format_real(round_to_display(real(c.value), {c.format, c.digits, '.'}), {}),
              c.rounded);
  }
}

TEST(RandomNumbers, TheCalculatorsSequence) {
  RandomGenerator g;
  // 999500333083533 x 2851130928467 mod 10^15 = 529199358633911, truncated.
  EXPECT_EQ(format_real(g.next(), {}), ".529199358633");
  EXPECT_EQ(g.state(), 529199358633911u);
  g.seed(real("123"));
  EXPECT_EQ(g.state(), 123000000000031u);
  g.seed(Real());  // 0 RDZ is the caller's clock
  EXPECT_EQ(g.state(), 123000000000031u);
  RandomGenerator a, b;
  a.seed_from_clock(42);
  b.seed_from_clock(42);
  EXPECT_EQ(a.next(), b.next());
  EXPECT_EQ(a.state() % 2, 1u);  // an odd seed never reaches zero
}

}  // namespace
