// The probability functions: UTPC UTPF UTPN UTPT NDIST, written as functions inside
// algebraics.
#include "numbers/distributions.h"
#include "commands/support.h"

namespace rplrun {

namespace {

template <RealResult (*F)(Real, Real)>
void real2(Machine& m, const Args& a) {
  m.push(settled(m, F(real_arg(a[2]), real_arg(a[1]))));
}

template <RealResult (*F)(Real, Real, Real)>
void real3(Machine& m, const Args& a) {
  m.push(settled(m, F(real_arg(a[3]), real_arg(a[2]), real_arg(a[1]))));
}

constexpr Algebra function(std::uint8_t arity) { return {Notation::function, prec_atom, arity}; }
constexpr Operands numbers = Operands::numbers;

constexpr CommandRow rows[] = {
    {"UTPC", 2, real2<upper_tail_chi_square>, function(2), true, numbers},
    {"UTPF", 3, real3<upper_tail_f>, function(3), true, numbers},
    {"UTPN", 3, real3<upper_tail_normal>, function(3), true, numbers},
    {"UTPT", 2, real2<upper_tail_t>, function(2), true, numbers},
    {"NDIST", 3, real3<normal_density>, function(3), true, numbers},
};

}  // namespace

std::span<const CommandRow> distribution_commands() { return rows; }

}  // namespace rplrun
