// The time value of money: TVMROOT solves for one of the variables N I%YR PV PMT FV
// from the others and P/YR (the variable PYR); AMORT amortizes; TVMBEG and TVMEND set
// payments at the beginning or the end of each period (flag -14); TVM shows the solver's
// menu.
#include "commands/support.h"
#include "numbers/time_value_of_money.h"
#include "objects/symbol.h"

namespace rplrun {

namespace {

constexpr int begin_flag = -14;
constexpr int tvm_menu = 81;  // the TVM solver's menu (unverified)

// A TVM variable's value: Undefined Name when it has none, Bad Argument Type when it
// holds no real.
Real tvm_variable(Machine& m, const char* name) {
  const Object* x = m.global(intern(name));
  if (!x) fail(undefined_name);
  return real_arg(*x);
}

// The values of the variables; those in `unused` are not read (zero).
TvmValues tvm_values(Machine& m, std::initializer_list<TvmVariable> unused) {
  const auto read = [&](TvmVariable v, const char* name) {
    for (TvmVariable u : unused)
      if (u == v) return Real();
    return tvm_variable(m, name);
  };
  TvmValues v;
  v.n = read(TvmVariable::n, "N");
  v.rate = read(TvmVariable::rate, "I%YR");
  v.pv = read(TvmVariable::pv, "PV");
  v.pmt = read(TvmVariable::pmt, "PMT");
  v.fv = read(TvmVariable::fv, "FV");
  v.per_year = tvm_variable(m, "PYR");
  v.begin = m.flags.test(begin_flag);
  return v;
}

void tvm(Machine& m, const Args&) { m.menus.show(tvm_menu, 1); }
void tvmbeg(Machine& m, const Args&) { m.flags.set(begin_flag); }
void tvmend(Machine& m, const Args&) { m.flags.clear(begin_flag); }

// 'name' TVMROOT: the value of that variable, also stored in it.
void tvmroot(Machine& m, const Args& a) {
  static const std::pair<const char*, TvmVariable> variables[] = {
      {"N", TvmVariable::n},     {"I%YR", TvmVariable::rate}, {"PV", TvmVariable::pv},
      {"PMT", TvmVariable::pmt}, {"FV", TvmVariable::fv},
  };
  const Symbol* name = name_arg(a[1]).symbol();
  for (const auto& [text, variable] : variables) {
    if (name != intern(text)) continue;
    const std::optional<RealResult> x = solve_tvm(tvm_values(m, {variable}), variable);
    if (!x) fail(bad_argument_value);
    const Object value = settled(m, *x);
    m.store_global(name, value);
    m.push(value);
    return;
  }
  fail(bad_argument_value);
}

// n AMORT: the principal and the interest of the first n payments, and the balance left.
void amort(Machine& m, const Args& a) {
  const Real n = real_arg(a[1]);
  const std::optional<Amortization> r =
      amortize(tvm_values(m, {TvmVariable::n, TvmVariable::fv}), n);
  if (!r) fail(bad_argument_value);
  m.push(settled(m, r->principal));
  m.push(settled(m, r->interest));
  m.push(settled(m, r->balance));
}

constexpr CommandRow rows[] = {
    {"TVM", 0, tvm},         {"TVMBEG", 0, tvmbeg}, {"TVMEND", 0, tvmend},
    {"TVMROOT", 1, tvmroot}, {"AMORT", 1, amort},
};

}  // namespace

std::span<const CommandRow> tvm_commands() { return rows; }

}  // namespace rplrun
