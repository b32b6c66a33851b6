#include "numbers/binary.h"

namespace rplrun {

namespace {

std::uint64_t rotate_left(std::uint64_t a, int by, int bits) {
  by %= bits;
  if (by == 0) return a;
  return fit_word((a << by) | (a >> (bits - by)), bits);
}

}  // namespace

std::uint64_t fit_word(std::uint64_t value, int bits) {
  return bits >= 64 ? value : value & ((1ULL << bits) - 1);
}

std::optional<std::uint64_t> combine(BinaryOp op, std::uint64_t a, std::uint64_t b, int bits) {
  a = fit_word(a, bits);
  b = fit_word(b, bits);
  switch (op) {
    case BinaryOp::add: return fit_word(a + b, bits);
    case BinaryOp::subtract: return fit_word(a - b, bits);
    case BinaryOp::multiply: return fit_word(a * b, bits);
    case BinaryOp::divide:
      if (b == 0) return std::nullopt;
      return a / b;
    case BinaryOp::bit_and: return a & b;
    case BinaryOp::bit_or: return a | b;
    case BinaryOp::bit_xor: return a ^ b;
  }
  return std::nullopt;
}

std::uint64_t negate_word(std::uint64_t a, int bits) { return fit_word(0 - a, bits); }

std::uint64_t invert_word(std::uint64_t a, int bits) { return fit_word(~a, bits); }

std::uint64_t shift_word(Shift op, std::uint64_t a, int bits) {
  a = fit_word(a, bits);
  switch (op) {
    case Shift::sl: return fit_word(a << 1, bits);
    case Shift::sr: return a >> 1;
    case Shift::asr: return (a >> 1) | (a & (1ULL << (bits - 1)));
    case Shift::rl: return rotate_left(a, 1, bits);
    case Shift::rr: return rotate_left(a, bits - 1, bits);
    case Shift::slb: return fit_word(a << 8, bits);
    case Shift::srb: return a >> 8;
    case Shift::rlb: return rotate_left(a, 8, bits);
    case Shift::rrb: return rotate_left(a, bits - 8 % bits, bits);
  }
  return a;
}

std::uint64_t binary_from_real(Real x) {
  // The largest 12-digit real below 2^64 stands for 2^64 - 1.
  static const Real saturation = Real::from_decimal(false, 184467440737ULL, 8).value;
  if (x >= saturation) return ~0ULL;
  return x.uint64_nearest();
}

Real binary_to_real(std::uint64_t a, int bits) { return Real::from_uint64(fit_word(a, bits)); }

}  // namespace rplrun
