// The time value of money: the relation between a number of payments N, an annual
// interest rate I%YR (percent) compounded P/YR times a year, a present value PV, a
// payment PMT and a future value FV,
//   PV + (1 + i S) PMT (1 - (1+i)^-N) / i + FV (1+i)^-N = 0,  i = I%YR / (100 P/YR),
// with payments at the end of each period (S = 0) or at its beginning (S = 1); money
// received is positive, money paid out negative.
#pragma once

#include <optional>

#include "numbers/real.h"

namespace rplrun {

enum class TvmVariable { n, rate, pv, pmt, fv };

struct TvmValues {
  Real n, rate, pv, pmt, fv;  // rate: I%YR
  Real per_year;              // P/YR
  bool begin = false;         // payments at the beginning of each period
};

// The value of one variable that satisfies the relation with the others; none when
// no value does (or P/YR is not positive).
std::optional<RealResult> solve_tvm(const TvmValues& v, TvmVariable unknown);

struct Amortization {
  RealResult principal;  // paid off the balance
  RealResult interest;
  RealResult balance;  // left after the payments
};

// The first `payments` payments of the loan PV at I%YR with payment PMT.
std::optional<Amortization> amortize(const TvmValues& v, Real payments);

}  // namespace rplrun
