// Vectors in the coordinate modes: \->V2 \->V3 V\->. Vectors are kept rectangular;
// these commands read and give their parts in the mode set by flags -15 and -16
// (RECT: -16 clear; CYLIN: -16 set; SPHERE: both set), angles in the angle mode.
#include "commands/array_support.h"
#include "numbers/coordinates.h"

namespace rplrun {

namespace {

bool polar(const Flags& flags) { return flags.test(-16); }
bool spherical(const Flags& flags) { return flags.test(-16) && flags.test(-15); }

// A 2-vector's rectangular parts from x y, or r and the angle in a polar mode.
Complex plane(Machine& m, Real first, Real second) {
  if (!polar(m.flags)) return {first, second};
  return m.flags.settle(from_polar(first, second, m.flags.angle_mode()));
}

// \->V2 gives a complex number instead when flag -19 is set.
void to_v2(Machine& m, const Args& a) {
  const Complex z = plane(m, real_arg(a[2]), real_arg(a[1]));
  if (m.flags.test(-19)) {
    m.push(Object::complex(z));
    return;
  }
  m.push(make_vector({Object::real(z.re), Object::real(z.im)}));
}

void to_v3(Machine& m, const Args& a) {
  const Real first = real_arg(a[3]);
  const Real second = real_arg(a[2]);
  const Real third = real_arg(a[1]);
  if (spherical(m.flags)) {
    const TripleResult r = from_spherical(first, second, third, m.flags.angle_mode());
    m.flags.settle_condition(r.condition);
    m.push(make_vector(
        {Object::real(r.values[0]), Object::real(r.values[1]), Object::real(r.values[2])}));
    return;
  }
  const Complex z = plane(m, first, second);
  m.push(make_vector({Object::real(z.re), Object::real(z.im), Object::real(third)}));
}

void v_to(Machine& m, const Args& a) {
  const ArrayNode& v = array_arg(a[1]);
  if (v.is_complex) fail(bad_argument_type);
  if (v.is_matrix || v.columns < 2 || v.columns > 3) fail(invalid_dimension);
  const Real x = v.elements[0].as_real();
  const Real y = v.elements[1].as_real();
  const AngleMode mode = m.flags.angle_mode();
  if (!polar(m.flags)) {
    for (const Object& e : v.elements) m.push(e);
  } else if (v.columns == 3 && spherical(m.flags)) {
    const TripleResult r = to_spherical(x, y, v.elements[2].as_real(), mode);
    m.flags.settle_condition(r.condition);
    for (const Real part : r.values) m.push(Object::real(part));
  } else {
    const Complex p = m.flags.settle(to_polar(Complex{x, y}, mode));
    m.push(Object::real(p.re));
    m.push(Object::real(p.im));
    if (v.columns == 3) m.push(v.elements[2]);
  }
}

constexpr CommandRow rows[] = {
    {"\\->V2", 2, to_v2},
    {"\\->V3", 3, to_v3},
    {"V\\->", 1, v_to},
};

}  // namespace

std::span<const CommandRow> vector_commands() { return rows; }

}  // namespace rplrun
