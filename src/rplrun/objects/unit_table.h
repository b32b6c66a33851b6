// The calculator's unit table, its prefixes and its constants library, built from the
// data files under data/ (compiled into the program), and what a unit expression is
// worth in SI base units.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "numbers/wide.h"
#include "objects/unit.h"

namespace rplrun {

// The base units, as UBASE writes them in this order: the placeholder of user-defined
// base units, then the SI base units.
inline constexpr int base_unit_count = 8;
inline constexpr std::array<const char*, base_unit_count> base_unit_names = {"?",  "A", "K",   "cd",
                                                                             "kg", "m", "mol", "s"};
using Dimensions = std::array<Real, base_unit_count>;  // a power of each base unit

// A unit expression in SI: value_expression = value x scale in base units.
struct UnitMeasure {
  Wide scale;
  Dimensions dimensions{};
  // A single temperature unit with an offset (\^oC, \^oF) to its power 1: kelvins are
  // (reading + offset) x scale when the temperature is absolute.
  std::optional<Wide> offset;
  // The expression is one temperature unit to the power 1 (K, \^oR, \^oC, mK...).
  bool pure_temperature = false;
};

// Whether a name is a unit of the table, with or without a prefix.
bool is_unit_name(const std::string& name);

// What the factors are worth; Invalid Unit when a name is no unit.
UnitMeasure measure_units(const UnitFactors& factors);

// The base-unit factors of dimensions, in the order of base_unit_names.
UnitFactors base_units(const Dimensions& dimensions);

struct Constant {
  Real value;
  UnitFactors units;  // none for a plain number
};
// A constant of the constants library by its name (HP characters).
std::optional<Constant> find_constant(std::string_view name);

}  // namespace rplrun
