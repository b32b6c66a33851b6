// What command handlers share: argument checks and results.
#pragma once

#include <string>

#include "commands/table.h"
#include "machine/apply_command.h"
#include "machine/machine.h"
#include "numbers/binary.h"
#include "numbers/numbers.h"
#include "objects/errors.h"
#include "objects/object.h"

namespace rplrun {

inline Real real_arg(const Object& object) {
  if (!object.is(Kind::real)) fail(bad_argument_type);
  return object.as_real();
}

// A real holding an integer, for counts and indices (truncated toward zero).
inline std::int64_t integer_arg(const Object& object) {
  return real_arg(object).int64_toward_zero();
}

// A count of stack levels: a non-negative integer.
inline std::size_t count_arg(const Object& object) {
  const std::int64_t n = integer_arg(object);
  if (n < 0) fail(bad_argument_value);
  return static_cast<std::size_t>(n);
}

inline const std::string& string_arg(const Object& object) {
  if (!object.is(Kind::string)) fail(bad_argument_type);
  return object.as_string();
}

inline std::span<const Object> list_arg(const Object& object) {
  if (!object.is(Kind::list)) fail(bad_argument_type);
  return object.items();
}

inline Object real_object(Real value) { return Object::real(value); }
inline Object integer_object(std::int64_t value) { return Object::real(Real::from_int64(value)); }
inline Object truth(bool value) { return integer_object(value ? 1 : 0); }

// A computed real or complex, its condition settled by the flags.
inline Object settled(Machine& m, const RealResult& r) { return Object::real(m.flags.settle(r)); }
inline Object settled(Machine& m, const ComplexResult& r) {
  return Object::complex(m.flags.settle(r));
}
inline Object settled(Machine& m, const NumberResult& r) {
  m.flags.settle_condition(r.condition);
  return r.is_complex ? Object::complex(r.value) : Object::real(r.value.re);
}

// A name argument: a name object, quoted or not.
inline const Object& name_arg(const Object& object) {
  if (!object.is(Kind::name)) fail(bad_argument_type);
  return object;
}

}  // namespace rplrun

namespace rplrun {

// x op y with a binary integer among the operands: a real beside it becomes a binary
// integer as R\->B makes it; anything else is Bad Argument Type. A division by #0 is
// Infinite Result.
Object binary_arithmetic(Machine& m, BinaryOp op, const Object& x, const Object& y);

}  // namespace rplrun
