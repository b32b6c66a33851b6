// Binary integers: R\->B B\->R, the base and the word size (HEX DEC OCT BIN STWS RCWS),
// the shifts and rotations; and + - * / AND OR XOR with binary operands, which the
// arithmetic and logic commands hand over here.
#include "numbers/binary.h"

#include "commands/support.h"

namespace rplrun {

namespace {

std::uint64_t binary_arg(const Object& x) {
  if (!x.is(Kind::binary)) fail(bad_argument_type);
  return x.as_binary();
}

void r_to_b(Machine& m, const Args& a) { m.push(Object::binary(binary_from_real(real_arg(a[1])))); }

void b_to_r(Machine& m, const Args& a) {
  m.push(Object::real(binary_to_real(binary_arg(a[1]), m.flags.word_size())));
}

void hex(Machine& m, const Args&) { m.flags.set_binary_base(16); }
void dec(Machine& m, const Args&) { m.flags.set_binary_base(10); }
void oct(Machine& m, const Args&) { m.flags.set_binary_base(8); }
void bin(Machine& m, const Args&) { m.flags.set_binary_base(2); }

// STWS n: a real or a binary integer; outside 1..64 the nearer end.
void stws(Machine& m, const Args& a) {
  const Object& x = a[1];
  std::int64_t bits = 0;
  if (x.is(Kind::binary))
    bits = x.as_binary() > 64 ? 64 : static_cast<std::int64_t>(x.as_binary());
  else
    bits = integer_arg(x);
  m.flags.set_word_size(bits < 1 ? 1 : bits > 64 ? 64 : static_cast<int>(bits));
}

void rcws(Machine& m, const Args&) { m.push(integer_object(m.flags.word_size())); }

template <Shift op>
void shift(Machine& m, const Args& a) {
  m.push(Object::binary(shift_word(op, binary_arg(a[1]), m.flags.word_size())));
}

constexpr CommandRow rows[] = {
    {"R\\->B", 1, r_to_b},
    {"B\\->R", 1, b_to_r},
    {"HEX", 0, hex},
    {"DEC", 0, dec},
    {"OCT", 0, oct},
    {"BIN", 0, bin},
    {"STWS", 1, stws},
    {"RCWS", 0, rcws},
    {"SL", 1, shift<Shift::sl>},
    {"SR", 1, shift<Shift::sr>},
    {"ASR", 1, shift<Shift::asr>},
    {"RL", 1, shift<Shift::rl>},
    {"RR", 1, shift<Shift::rr>},
    {"SLB", 1, shift<Shift::slb>},
    {"SRB", 1, shift<Shift::srb>},
    {"RLB", 1, shift<Shift::rlb>},
    {"RRB", 1, shift<Shift::rrb>},
};

}  // namespace

Object binary_arithmetic(Machine& m, BinaryOp op, const Object& x, const Object& y) {
  auto operand = [](const Object& o) {
    if (o.is(Kind::real)) return binary_from_real(o.as_real());
    return binary_arg(o);
  };
  const std::optional<std::uint64_t> result =
      combine(op, operand(x), operand(y), m.flags.word_size());
  if (!result) fail(infinite_result);
  return Object::binary(*result);
}

std::span<const CommandRow> binary_commands() { return rows; }

}  // namespace rplrun
