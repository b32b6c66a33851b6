// Binary integers: 64-bit words seen through the word size (1..64 bits, flags -5..-10).
// Arguments are cut to the word size before an operation and results after it; the
// object itself keeps all 64 bits, so a smaller word size hides the high bits without
// losing them (they show again after a larger STWS).
#pragma once

#include <cstdint>
#include <optional>

#include "numbers/real.h"

namespace rplrun {

// The value cut to `bits` bits (1..64).
std::uint64_t fit_word(std::uint64_t value, int bits);

enum class BinaryOp : std::uint8_t { add, subtract, multiply, divide, bit_and, bit_or, bit_xor };

// a op b in the word size, wrapping as two's complement (#3 #5 - is all ones); the
// quotient is truncated. nullopt for a division by zero.
std::optional<std::uint64_t> combine(BinaryOp op, std::uint64_t a, std::uint64_t b, int bits);

// NEG (two's complement) and NOT (every bit of the word inverted).
std::uint64_t negate_word(std::uint64_t a, int bits);
std::uint64_t invert_word(std::uint64_t a, int bits);

// The shifts and rotations of the BASE menu: one bit (SL SR ASR RL RR) or one byte
// (SLB SRB RLB RRB, each the same as eight of the one-bit kind), within the word. ASR
// keeps the word's most significant bit.
enum class Shift : std::uint8_t { sl, sr, asr, rl, rr, slb, srb, rlb, rrb };
std::uint64_t shift_word(Shift op, std::uint64_t a, int bits);

// R->B: rounded to the nearest integer; negatives give #0 and anything from
// 1.84467440737E19 up gives all ones (the 12-digit 2^64 already rounds below it).
std::uint64_t binary_from_real(Real x);
// B->R: the word's value, rounded to 12 digits.
Real binary_to_real(std::uint64_t a, int bits);

}  // namespace rplrun
