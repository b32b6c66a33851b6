// Unit objects: a real and a unit expression, 9.8_m/s^2. The expression is kept as its
// factors, each a unit name and a power, in the order they were written or made; the
// factors of positive power are written first, joined by *, then after / those of
// negative power (9.8_m/s^2, 1_J/(gmol*K), 1_1/s).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/number_format.h"
#include "objects/object.h"

namespace rplrun {

struct UnitFactor {
  std::string name;  // HP characters: km, \Gmm, \^oC
  Real power;        // never zero
  bool operator==(const UnitFactor&) const = default;
};
using UnitFactors = std::vector<UnitFactor>;

struct UnitNode : Node {
  UnitNode(Real v, UnitFactors f) : value(v), factors(std::move(f)) {}
  Real value;
  UnitFactors factors;  // at least one
};

// The unit object value_factors; the real itself when no factor is left.
Object make_unit(Real value, UnitFactors factors);
inline const UnitNode& unit_of(const Object& unit) { return unit.node_as<UnitNode>(); }

// A unit expression as typed after the _ of a unit object: names, 1 (1/s), * / ^ with
// a real power, parentheses. Nullopt when the text is none.
std::optional<UnitFactors> parse_unit_expression(std::string_view text, char fraction_mark);

// The expression as the calculator writes it (m/s^2); powers in STD form.
void append_unit_expression(std::string& out, const UnitFactors& factors, char fraction_mark);

// a*b^power: a factor of b whose name a has too adds its power there (and goes when the
// sum is zero); the others follow a's, in order. Overflow of a power is Overflow.
UnitFactors multiply_units(const UnitFactors& a, const UnitFactors& b, Real power);
// Every power multiplied by p; divided by n (an n-th root, exact where 1/n is not).
UnitFactors raise_units(const UnitFactors& a, Real p);
UnitFactors root_units(const UnitFactors& a, Real n);

}  // namespace rplrun
