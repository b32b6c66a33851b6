#include "objects/unit.h"

#include <memory>

#include "numbers/real_functions.h"
#include "objects/errors.h"

namespace rplrun {

Object make_unit(Real value, UnitFactors factors) {
  if (factors.empty()) return Object::real(value);
  return Object::from_node(Kind::unit, std::make_shared<UnitNode>(value, std::move(factors)));
}

namespace {

Real checked(RealResult r) {
  if (r.condition != Condition::none) fail(overflow_error);
  return r.value;
}

bool is_operator(char c) { return c == '*' || c == '/' || c == '^' || c == '(' || c == ')'; }

// expression := term { (*|/) term };  term := primary [^ power];
// primary := name | 1 | ( expression )
class UnitParser {
 public:
  UnitParser(std::string_view text, char mark) : text_(text), mark_(mark) {}

  std::optional<UnitFactors> parse() {
    UnitFactors out;
    if (!expression(out, Real::from_int64(1)) || pos_ != text_.size()) return std::nullopt;
    return out;
  }

 private:
  bool expression(UnitFactors& out, Real sign) {
    if (!term(out, sign)) return false;
    while (pos_ < text_.size() && (text_[pos_] == '*' || text_[pos_] == '/')) {
      const bool divides = text_[pos_++] == '/';
      if (!term(out, divides ? negate(sign) : sign)) return false;
    }
    return true;
  }

  bool term(UnitFactors& out, Real sign) {
    UnitFactors inner;
    if (pos_ < text_.size() && text_[pos_] == '(') {
      ++pos_;
      if (!expression(inner, Real::from_int64(1))) return false;
      if (pos_ >= text_.size() || text_[pos_] != ')') return false;
      ++pos_;
    } else {
      const std::size_t start = pos_;
      while (pos_ < text_.size() && !is_operator(text_[pos_])) ++pos_;
      const std::string_view name = text_.substr(start, pos_ - start);
      if (name.empty()) return false;
      if (name != "1") {
        if (name[0] >= '0' && name[0] <= '9') return false;
        inner.push_back({std::string(name), Real::from_int64(1)});
      }
    }
    Real power = sign;
    if (pos_ < text_.size() && text_[pos_] == '^') {
      const std::size_t start = ++pos_;
      while (pos_ < text_.size() && !is_operator(text_[pos_])) ++pos_;
      const auto p = parse_real(text_.substr(start, pos_ - start), mark_);
      if (!p || p->value.is_zero()) return false;
      power = checked(multiply(sign, p->value));
    }
    out = multiply_units(out, inner, power);
    return true;
  }

  std::string_view text_;
  char mark_;
  std::size_t pos_ = 0;
};

void append_factor(std::string& out, const UnitFactor& f, bool inverted, char mark) {
  out += f.name;
  const Real p = inverted ? negate(f.power) : f.power;
  if (p == Real::from_int64(1)) return;
  out += '^';
  DisplayMode mode;
  mode.fraction_mark = mark;
  append_real(out, p, mode);
}

}  // namespace

std::optional<UnitFactors> parse_unit_expression(std::string_view text, char fraction_mark) {
  return UnitParser(text, fraction_mark).parse();
}

void append_unit_expression(std::string& out, const UnitFactors& factors, char mark) {
  std::size_t above = 0;
  std::size_t below = 0;
  for (const UnitFactor& f : factors) ++(f.power.is_negative() ? below : above);
  if (above == 0) out += '1';
  bool first = true;
  for (const UnitFactor& f : factors) {
    if (f.power.is_negative()) continue;
    if (!first) out += '*';
    first = false;
    append_factor(out, f, false, mark);
  }
  if (below == 0) return;
  out += '/';
  if (below > 1) out += '(';
  first = true;
  for (const UnitFactor& f : factors) {
    if (!f.power.is_negative()) continue;
    if (!first) out += '*';
    first = false;
    append_factor(out, f, true, mark);
  }
  if (below > 1) out += ')';
}

UnitFactors multiply_units(const UnitFactors& a, const UnitFactors& b, Real power) {
  UnitFactors out = a;
  for (const UnitFactor& f : b) {
    const Real p = checked(multiply(f.power, power));
    if (p.is_zero()) continue;
    auto it = out.begin();
    while (it != out.end() && it->name != f.name) ++it;
    if (it == out.end()) {
      out.push_back({f.name, p});
      continue;
    }
    it->power = checked(add(it->power, p));
    if (it->power.is_zero()) out.erase(it);
  }
  return out;
}

UnitFactors raise_units(const UnitFactors& a, Real p) { return multiply_units({}, a, p); }

UnitFactors root_units(const UnitFactors& a, Real n) {
  UnitFactors out = a;
  for (UnitFactor& f : out) f.power = checked(divide(f.power, n));
  return out;
}

}  // namespace rplrun
