// Units: the unit forms of arithmetic, comparisons and the functions of reals, the
// commands of the UNITS menu (\->UNIT CONVERT UBASE UVAL UFACT _), temperatures (TINC
// TDELTA) and the constants library (CONST). A real beside a unit object counts as a
// quantity without units.
#include "commands/support.h"
#include "objects/display.h"
#include "objects/symbolic.h"
#include "objects/unit.h"
#include "objects/unit_table.h"

namespace rplrun {

namespace {

struct Quantity {
  Real value;
  UnitFactors units;  // none for a real
};

Quantity quantity(const Object& x) {
  if (x.is(Kind::unit)) return {unit_of(x).value, unit_of(x).factors};
  return {real_arg(x), {}};
}

const UnitFactors& units_arg(const Object& x) {
  if (!x.is(Kind::unit)) fail(bad_argument_type);
  return unit_of(x).factors;
}

Real one() { return Real::from_int64(1); }

// A value in units `from` expressed in units `to`: Inconsistent Units unless they measure
// the same thing. Two temperature units alone convert as absolute temperatures (0_\^oC is
// 32_\^oF), any other expression as a difference.
Real convert(Machine& m, Real value, const UnitFactors& from, const UnitFactors& to) {
  const UnitMeasure a = measure_units(from);
  const UnitMeasure b = measure_units(to);
  if (a.dimensions != b.dimensions) fail(inconsistent_units);
  const Wide v(value);
  if (a.pure_temperature && b.pure_temperature && (a.offset || b.offset)) {
    const Wide kelvins = (v + a.offset.value_or(Wide())) * a.scale;
    return m.flags.settle((kelvins / b.scale - b.offset.value_or(Wide())).rounded());
  }
  return m.flags.settle((v * a.scale / b.scale).rounded());
}

// The other operand in the units of the first.
Real in_units_of(Machine& m, const Quantity& x, const Quantity& y) {
  return convert(m, y.value, y.units, x.units);
}

void push_unit(Machine& m, const RealResult& value, UnitFactors units) {
  m.push(make_unit(m.flags.settle(value), std::move(units)));
}

// ---- arithmetic

void plus(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  push_unit(m, add(x.value, in_units_of(m, x, quantity(a[1]))), x.units);
}

void minus(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  push_unit(m, subtract(x.value, in_units_of(m, x, quantity(a[1]))), x.units);
}

void times(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Quantity y = quantity(a[1]);
  push_unit(m, multiply(x.value, y.value), multiply_units(x.units, y.units, one()));
}

void divided(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Quantity y = quantity(a[1]);
  push_unit(m, divide(x.value, y.value), multiply_units(x.units, y.units, negate(one())));
}

// A real result of a unit's value, with `units`. A complex value (the root of a negative
// quantity) has no unit object.
void powered(Machine& m, const NumberResult& r, UnitFactors units) {
  if (r.is_complex) fail(bad_argument_value);
  push_unit(m, RealResult{r.value.re, r.condition}, std::move(units));
}

void raise(Machine& m, const Args& a) {
  const UnitFactors& units = units_arg(a[2]);
  const Real p = real_arg(a[1]);
  powered(m, power(unit_of(a[2]).value, p), raise_units(units, p));
}

void xroot_(Machine& m, const Args& a) {
  const UnitFactors& units = units_arg(a[2]);
  const Real n = real_arg(a[1]);
  const NumberResult r = xroot(unit_of(a[2]).value, n);
  m.flags.settle_condition(r.condition);  // 0 XROOT: Undefined Result
  powered(m, r, root_units(units, n));
}

void sqrt_(Machine& m, const Args& a) {
  powered(m, square_root(unit_of(a[1]).value),
          root_units(unit_of(a[1]).factors, Real::from_int64(2)));
}

void sq(Machine& m, const Args& a) {
  push_unit(m, square(unit_of(a[1]).value),
            raise_units(unit_of(a[1]).factors, Real::from_int64(2)));
}

void inv(Machine& m, const Args& a) {
  push_unit(m, inverse(unit_of(a[1]).value), raise_units(unit_of(a[1]).factors, negate(one())));
}

template <Real (*op)(Real)>
void on_value(Machine& m, const Args& a) {
  m.push(make_unit(op(unit_of(a[1]).value), unit_of(a[1]).factors));
}

void sign_(Machine& m, const Args& a) { m.push(Object::real(sign(unit_of(a[1]).value))); }

// RND, TRNC: the value rounded, the places a real.
template <RealResult (*op)(Real, Real)>
void rounding(Machine& m, const Args& a) {
  const UnitFactors& units = units_arg(a[2]);
  push_unit(m, op(unit_of(a[2]).value, real_arg(a[1])), units);
}

// %: a quantity and a real, the result in the quantity's units.
void percent_(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Quantity y = quantity(a[1]);
  if (!x.units.empty() && !y.units.empty()) fail(bad_argument_type);
  push_unit(m, percent(x.value, y.value), x.units.empty() ? y.units : x.units);
}

// %T, %CH: two quantities of one kind; a plain number.
template <RealResult (*op)(Real, Real)>
void ratio(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  m.push(settled(m, op(x.value, in_units_of(m, x, quantity(a[1])))));
}

// MIN, MAX: the smaller or larger of two quantities of one kind, as it was given.
template <bool smaller>
void extreme(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Real y = in_units_of(m, x, quantity(a[1]));
  const bool first = smaller ? !(y < x.value) : !(x.value < y);
  m.push(first ? a[2] : a[1]);
}

// The comparisons: the second quantity in the units of the first.
template <bool (*test)(Real, Real)>
void compare(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  m.push(truth(test(x.value, in_units_of(m, x, quantity(a[1])))));
}
bool eq(Real x, Real y) { return x == y; }
bool ne(Real x, Real y) { return !(x == y); }
bool lt(Real x, Real y) { return x < y; }
bool gt(Real x, Real y) { return y < x; }
bool le(Real x, Real y) { return x <= y; }
bool ge(Real x, Real y) { return y <= x; }

void neg_(Machine& m, const Args& a) { on_value<negate>(m, a); }

// ---- the commands of units

// x 'm/s' _: the unit object of a real and a name or an algebraic of units.
void underscore(Machine& m, const Args& a) {
  const Real value = real_arg(a[2]);
  const Object& units = a[1];
  if (!units.is(Kind::name) && !units.is(Kind::algebraic)) fail(bad_argument_type);
  std::string text = show(units, m.flags);
  text = text.substr(1, text.size() - 2);  // without its quotes
  const auto factors = parse_unit_expression(text, m.flags.display_mode().fraction_mark);
  if (!factors) fail(invalid_unit);
  m.push(make_unit(value, *factors));
}

void to_unit(Machine& m, const Args& a) { m.push(make_unit(real_arg(a[2]), units_arg(a[1]))); }

void convert_(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const UnitFactors& to = units_arg(a[1]);
  m.push(make_unit(convert(m, x.value, x.units, to), to));
}

Object in_base_units(Machine& m, const Object& x) {
  const Quantity q = quantity(x);
  const UnitMeasure measure = measure_units(q.units);
  const Real value = convert(m, q.value, q.units, base_units(measure.dimensions));
  return make_unit(value, base_units(measure.dimensions));
}

// UBASE of an algebraic: each unit object inside it in base units.
void ubase(Machine& m, const Args& a) {
  if (!a[1].is_symbolic()) {
    m.push(in_base_units(m, a[1]));
    return;
  }
  m.push(rewrite_object(a[1], [&](const Object& item, std::vector<Object>& out) {
    if (!item.is(Kind::unit)) return false;
    out.push_back(in_base_units(m, item));
    return true;
  }));
}

void uval(Machine& m, const Args& a) {
  units_arg(a[1]);
  m.push(Object::real(unit_of(a[1]).value));
}

// x1_u1 x2_u2 UFACT: u1 written as u2 times what remains of it in base units.
void ufact(Machine& m, const Args& a) {
  const UnitFactors& u1 = units_arg(a[2]);
  const UnitFactors& u2 = units_arg(a[1]);
  const UnitMeasure m1 = measure_units(u1);
  const UnitMeasure m2 = measure_units(u2);
  Dimensions rest{};
  for (std::size_t k = 0; k < base_unit_count; ++k)
    rest[k] = m.flags.settle(subtract(m1.dimensions[k], m2.dimensions[k]));
  const Wide value = Wide(unit_of(a[2]).value) * m1.scale / m2.scale;
  push_unit(m, value.rounded(), multiply_units(u2, base_units(rest), one()));
}

// The temperature units of TINC and TDELTA: both quantities temperatures, or both reals.
bool temperatures(const Quantity& x, const Quantity& y) {
  if (x.units.empty() != y.units.empty()) fail(bad_argument_type);
  if (x.units.empty()) return false;
  if (!measure_units(x.units).pure_temperature || !measure_units(y.units).pure_temperature)
    fail(inconsistent_units);
  return true;
}

// x y TINC: the temperature x raised by the difference y.
void tinc(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Quantity y = quantity(a[1]);
  if (!temperatures(x, y)) {
    m.push(settled(m, add(x.value, y.value)));
    return;
  }
  const Wide step = Wide(y.value) * measure_units(y.units).scale / measure_units(x.units).scale;
  push_unit(m, add(x.value, m.flags.settle(step.rounded())), x.units);
}

// x y TDELTA: the difference of two temperatures, in the units of x.
void tdelta(Machine& m, const Args& a) {
  const Quantity x = quantity(a[2]);
  const Quantity y = quantity(a[1]);
  if (!temperatures(x, y)) {
    m.push(settled(m, subtract(x.value, y.value)));
    return;
  }
  push_unit(m, subtract(x.value, convert(m, y.value, y.units, x.units)), x.units);
}

// 'c' CONST: a constant of the constants library, with its units unless flag -61 asks
// for plain numbers.
void const_(Machine& m, const Args& a) {
  const auto constant = find_constant(name_arg(a[1]).symbol()->text());
  if (!constant) fail(bad_argument_value);
  if (m.flags.test(-61))
    m.push(Object::real(constant->value));
  else
    m.push(make_unit(constant->value, constant->units));
}

constexpr CommandRow rows[] = {
    {"_", 2, underscore},
    {"\\->UNIT", 2, to_unit},
    {"CONVERT", 2, convert_},
    {"UBASE", 1, ubase, {}, false, Operands::numbers},
    {"UVAL", 1, uval, {}, false, Operands::numbers},
    {"UFACT", 2, ufact},
    {"TINC", 2, tinc, {Notation::function, prec_atom, 2}, true, Operands::numbers},
    {"TDELTA", 2, tdelta, {Notation::function, prec_atom, 2}, true, Operands::numbers},
    {"CONST", 1, const_},
};

constexpr UnitForm forms[] = {
    {"+", plus},
    {"-", minus},
    {"*", times},
    {"/", divided},
    {"^", raise},
    {"XROOT", xroot_},
    {"\\v/", sqrt_},
    {"SQ", sq},
    {"INV", inv},
    {"NEG", neg_},
    {"ABS", on_value<abs>},
    {"IP", on_value<ip>},
    {"FP", on_value<fp>},
    {"FLOOR", on_value<floor>},
    {"CEIL", on_value<ceil>},
    {"SIGN", sign_},
    {"RND", rounding<rnd>},
    {"TRNC", rounding<trnc>},
    {"%", percent_},
    {"%T", ratio<percent_total>},
    {"%CH", ratio<percent_change>},
    {"MIN", extreme<true>},
    {"MAX", extreme<false>},
    {"==", compare<eq>},
    {"\\=/", compare<ne>},
    {"<", compare<lt>},
    {">", compare<gt>},
    {"\\<=", compare<le>},
    {"\\>=", compare<ge>},
};

}  // namespace

std::span<const CommandRow> unit_commands() { return rows; }
std::span<const UnitForm> unit_forms() { return forms; }

}  // namespace rplrun
