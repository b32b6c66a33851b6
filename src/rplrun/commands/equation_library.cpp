// The equation library's functions: DARCY FANNING ZFACTOR F0\Gl SIDENS. A unit object
// is taken in SI units where a quantity has dimensions (a wavelength, a temperature);
// where a pure number is expected, a unit object must reduce to one.
#include "numbers/equation_library.h"
#include "commands/support.h"
#include "objects/unit.h"
#include "objects/unit_table.h"

namespace rplrun {

namespace {

enum Base { kelvin = 2, metre = 5 };  // places in base_unit_names

// A real as it is; a unit object in SI units, a temperature from absolute zero.
// Inconsistent Units unless its dimensions are those of `base` to the power 1 (none
// for a pure number).
Real si_value(Machine& m, const Object& x, std::optional<Base> base) {
  if (!x.is(Kind::unit)) return real_arg(x);
  const UnitMeasure measure = measure_units(unit_of(x).factors);
  for (int k = 0; k < base_unit_count; ++k) {
    const bool wanted = base && *base == k;
    if (!(measure.dimensions[k] == Real::from_int64(wanted ? 1 : 0))) fail(inconsistent_units);
  }
  return m.flags.settle(
      ((Wide(unit_of(x).value) + measure.offset.value_or(Wide())) * measure.scale).rounded());
}

Real result(Machine& m, const RealResult& r) {
  if (r.condition == Condition::bad_argument_value) fail(bad_argument_value);
  return m.flags.settle(r);
}

template <RealResult (*f)(Real, Real)>
void friction(Machine& m, const Args& a) {
  m.push(Object::real(result(m, f(si_value(m, a[2], {}), si_value(m, a[1], {})))));
}

void zfactor(Machine& m, const Args& a) {
  m.push(Object::real(result(m, z_factor(real_arg(a[2]), real_arg(a[1])))));
}

// lambda T F0\Gl: lambda in metres, T in kelvins when they are reals.
void f0_lambda(Machine& m, const Args& a) {
  const Real wavelength = si_value(m, a[2], metre);
  const Real temperature = si_value(m, a[1], kelvin);
  m.push(Object::real(result(m, black_body_fraction(wavelength, temperature))));
}

// T SIDENS: per cubic centimetre, as a unit object when T is one.
void sidens(Machine& m, const Args& a) {
  const Real density = result(m, silicon_intrinsic_density(si_value(m, a[1], kelvin)));
  if (a[1].is(Kind::unit))
    m.push(make_unit(density, {{"cm", Real::from_int64(-3)}}));
  else
    m.push(Object::real(density));
}

constexpr Algebra function_of(std::uint8_t arity) { return {Notation::function, prec_atom, arity}; }

constexpr CommandRow rows[] = {
    {"DARCY", 2, friction<darcy>, function_of(2), true, Operands::numbers},
    {"FANNING", 2, friction<fanning>, function_of(2), true, Operands::numbers},
    {"ZFACTOR", 2, zfactor, function_of(2), true, Operands::numbers},
    {"F0\\Gl", 2, f0_lambda, function_of(2), true, Operands::numbers},
    {"SIDENS", 1, sidens, function_of(1), true, Operands::numbers},
};

}  // namespace

std::span<const CommandRow> equation_library_commands() { return rows; }

}  // namespace rplrun
