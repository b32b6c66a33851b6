#include "numbers/time_value_of_money.h"

#include "numbers/wide.h"

namespace rplrun {

namespace {

Wide whole(int n) { return Wide::from_int(n); }

struct Terms {
  Wide i;       // the periodic rate
  Wide timing;  // 1 + i S
};

std::optional<Terms> terms(const TvmValues& v, Wide rate) {
  if (!(Wide() < Wide(v.per_year))) return std::nullopt;
  const Wide i = rate / (whole(100) * Wide(v.per_year));
  if (!(-whole(1) < i)) return std::nullopt;
  return Terms{i, v.begin ? whole(1) + i : whole(1)};
}

// (1+i)^n
Wide growth(Wide i, Wide n) { return (whole(1) + i).power(n); }

// The relation's left side at the rate i (per period).
Wide residual(const TvmValues& v, Wide i) {
  const Wide timing = v.begin ? whole(1) + i : whole(1);
  if (i.magnitude() < Wide::parse("1E-30"))
    return Wide(v.pv) + Wide(v.pmt) * Wide(v.n) + Wide(v.fv);
  const Wide a = growth(i, -Wide(v.n));
  return Wide(v.pv) + timing * Wide(v.pmt) * (whole(1) - a) / i + Wide(v.fv) * a;
}

// The periodic rate by the secant method from 1% and 1.1%.
std::optional<Wide> solve_rate(const TvmValues& v) {
  Wide a = Wide::parse("0.01"), b = Wide::parse("0.011");
  Wide fa = residual(v, a), fb = residual(v, b);
  for (int k = 0; k < 200; ++k) {
    if ((fb - fa).magnitude() < Wide::parse("1E-60")) break;
    Wide c = b - fb * (b - a) / (fb - fa);
    if (!(-whole(1) < c)) c = (b - whole(1)) / whole(2);
    a = b;
    fa = fb;
    b = c;
    fb = residual(v, b);
    if (!(Wide::parse("1E-30") * b.magnitude() < (b - a).magnitude())) return b;
  }
  return std::nullopt;
}

}  // namespace

std::optional<RealResult> solve_tvm(const TvmValues& v, TvmVariable unknown) {
  const std::optional<Terms> t = terms(v, Wide(v.rate));
  if (!t) return std::nullopt;
  const Wide n(v.n), pv(v.pv), pmt(v.pmt), fv(v.fv), one = whole(1);
  const bool simple = t->i.magnitude() < Wide::parse("1E-30");
  // The payments' weight W = (1 + i S)/i, and A = (1+i)^-N.
  const Wide w = simple ? Wide() : t->timing / t->i;
  const auto a = [&] { return growth(t->i, -n); };
  switch (unknown) {
    case TvmVariable::n: {
      if (simple) {
        if (pmt.magnitude() < Wide::parse("1E-499")) return std::nullopt;
        return (-(pv + fv) / pmt).rounded();
      }
      const Wide denominator = w * pmt - fv;
      if (denominator.magnitude() < Wide::parse("1E-499")) return std::nullopt;
      const Wide ratio = (pv + w * pmt) / denominator;
      if (!(Wide() < ratio)) return std::nullopt;
      return (-ln(ratio) / ln(one + t->i)).rounded();
    }
    case TvmVariable::rate: {
      const std::optional<Wide> i = solve_rate(v);
      if (!i) return std::nullopt;
      return (*i * whole(100) * Wide(v.per_year)).rounded();
    }
    case TvmVariable::pv:
      if (simple) return (-(pmt * n + fv)).rounded();
      return (-(w * pmt * (one - a()) + fv * a())).rounded();
    case TvmVariable::pmt: {
      const Wide weight = simple ? n : w * (one - a());
      if (weight.magnitude() < Wide::parse("1E-499")) return std::nullopt;
      return (-(pv + (simple ? fv : fv * a())) / weight).rounded();
    }
    case TvmVariable::fv: {
      if (simple) return (-(pv + pmt * n)).rounded();
      const Wide growth_n = growth(t->i, n);
      return (-(pv * growth_n + w * pmt * (growth_n - one))).rounded();
    }
  }
  return std::nullopt;
}

// The balance after n payments: PV (1+i)^n + (1 + i S) PMT ((1+i)^n - 1)/i.
std::optional<Amortization> amortize(const TvmValues& v, Real payments) {
  const std::optional<Terms> t = terms(v, Wide(v.rate));
  if (!t) return std::nullopt;
  const Wide n(payments), pv(v.pv), pmt(v.pmt);
  Wide balance;
  if (t->i.magnitude() < Wide::parse("1E-30")) {
    balance = pv + pmt * n;
  } else {
    const Wide g = growth(t->i, n);
    balance = pv * g + t->timing * pmt * (g - whole(1)) / t->i;
  }
  const Wide principal = balance - pv;
  return Amortization{principal.rounded(), (pmt * n - principal).rounded(), balance.rounded()};
}

}  // namespace rplrun
