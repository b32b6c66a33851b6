// The multiple-equation solver: MINIT makes Mpar from the list of equations in EQ, with
// the variables of all of them; MUSER and MCALC mark variables as entered by the user
// (known) or calculated; MITM sets the title and the order of the menu; MSOLVR shows
// the menu; MROOT solves for a variable, or for every calculated one, one equation with
// a single unknown at a time, with the root finder.
#include <algorithm>
#include <optional>

#include "commands/solvers.h"
#include "objects/command_ids.h"
#include "objects/library_data.h"
#include "objects/symbol.h"

namespace rplrun {

namespace {

// Mpar as the solver reads it. It is kept as library data holding the list
// { equations variables user-marks title menu }, the marks 1 for a variable the user
// entered and 0 for one calculated.
struct Mpar {
  std::vector<Object> equations;
  std::vector<Object> variables;  // global names, in the order the equations show them
  std::vector<bool> user;
  Object title = Object::string("");
  Object menu;  // a list of names and "" (a blank label)
};

const Symbol* mpar_name() {
  static const Symbol* const name = intern("Mpar");
  return name;
}

Object as_library_data(const Mpar& p) {
  std::vector<Object> marks;
  for (const bool user : p.user) marks.push_back(truth(user));
  return make_library_data(Object::list({Object::list(p.equations), Object::list(p.variables),
                                         Object::list(std::move(marks)), p.title, p.menu}));
}

// Mpar of the current directory or one above: Undefined Name when there is none,
// Invalid Mpar when it holds anything but the solver's data.
Mpar read_mpar(Machine& m) {
  const Object* x = m.global(mpar_name());
  if (!x) fail(undefined_name);
  if (!x->is(Kind::library_data)) fail(invalid_mpar);
  const std::span<const Object> parts = library_data_content(*x).items();
  Mpar p;
  p.equations = copy_items(parts[0].items());
  p.variables = copy_items(parts[1].items());
  for (const Object& mark : parts[2].items()) p.user.push_back(!mark.as_real().is_zero());
  p.title = parts[3];
  p.menu = parts[4];
  return p;
}

void write_mpar(Machine& m, const Mpar& p) { m.store_global(mpar_name(), as_library_data(p)); }

// The global names of an equation, each once, in the order they are written.
void add_variables(const Object& equation, std::vector<Object>& variables) {
  const auto add = [&](const Object& item) {
    if (!item.is(Kind::name) || item.is_local()) return;
    const Object name = Object::name(item.symbol());
    for (const Object& v : variables)
      if (v.symbol() == name.symbol()) return;
    variables.push_back(name);
  };
  if (equation.is(Kind::name)) return add(equation);
  for (const Object& item : equation.items()) add(item);
}

void minit(Machine& m, const Args&) {
  const Object* eq = m.global(intern("EQ"));
  if (!eq) fail(undefined_name);
  if (eq->is_symbolic()) fail(single_equation);
  if (!eq->is(Kind::list) || eq->items().empty()) fail(eq_invalid_for_minit);
  Mpar p;
  for (const Object& equation : eq->items()) {
    if (!equation.is_symbolic()) fail(eq_invalid_for_minit);
    p.equations.push_back(equation.unquoted());
    add_variables(equation, p.variables);
  }
  if (p.equations.size() == 1) fail(single_equation);
  p.user.assign(p.variables.size(), false);
  p.menu = Object::list(p.variables);
  write_mpar(m, p);
}

// The index of a variable of Mpar; Bad Argument Value for a name it does not have.
std::size_t variable_index(const Mpar& p, const Object& name) {
  for (std::size_t k = 0; k < p.variables.size(); ++k)
    if (p.variables[k].symbol() == name.symbol()) return k;
  fail(bad_argument_value);
}

// The variables an argument of MUSER, MCALC or MROOT designates: a name, a list of
// names, or "ALL" (every one).
std::vector<std::size_t> designated(const Mpar& p, const Object& x, bool lists_allowed) {
  std::vector<std::size_t> chosen;
  if (x.is(Kind::string)) {
    if (x.as_string() != "ALL") fail(bad_argument_value);
    for (std::size_t k = 0; k < p.variables.size(); ++k) chosen.push_back(k);
    return chosen;
  }
  if (x.is(Kind::name) && !x.is_local()) return {variable_index(p, x)};
  if (!lists_allowed || !x.is(Kind::list)) fail(bad_argument_type);
  for (const Object& item : x.items()) {
    if (!item.is(Kind::name) || item.is_local()) fail(bad_argument_type);
    chosen.push_back(variable_index(p, item));
  }
  return chosen;
}

void mark(Machine& m, const Object& x, bool user) {
  Mpar p = read_mpar(m);
  for (const std::size_t k : designated(p, x, true)) p.user[k] = user;
  write_mpar(m, p);
}

void muser(Machine& m, const Args& a) { mark(m, a[1], true); }
void mcalc(Machine& m, const Args& a) { mark(m, a[1], false); }

// "title" { items } MITM: the menu's items are the variables, each once, in the order
// wanted, with "" for a blank label.
void mitm(Machine& m, const Args& a) {
  string_arg(a[2]);
  const std::span<const Object> items = list_arg(a[1]);
  Mpar p = read_mpar(m);
  std::vector<bool> seen(p.variables.size(), false);
  for (const Object& item : items) {
    if (item.is(Kind::string)) {
      if (!item.as_string().empty()) fail(bad_argument_value);
      continue;
    }
    if (!item.is(Kind::name) || item.is_local()) fail(bad_argument_type);
    const std::size_t k = variable_index(p, item);
    if (seen[k]) fail(bad_argument_value);
    seen[k] = true;
  }
  if (std::find(seen.begin(), seen.end(), false) != seen.end()) fail(bad_argument_value);
  p.title = a[2];
  p.menu = a[1];
  write_mpar(m, p);
}

// The solver's menu is a temporary one, as TMENU shows a list.
void msolvr(Machine& m, const Args&) {
  read_mpar(m);
  m.menus.show(0, 1);
}

// MROOT's work: while what is wanted is unknown, the first equation with one unknown
// is solved for it, from its value as the guess, and the variable becomes known.
class MultipleRoots : public Continuation {
 public:
  MultipleRoots(Mpar p, std::vector<bool> known, std::optional<std::size_t> target, Object argument)
      : mpar_(std::move(p)),
        known_(std::move(known)),
        target_(target),
        argument_(std::move(argument)) {}

  bool resume(Machine& m) final {
    // A search that ended came back here; one that failed ended MROOT with it.
    if (solving_) known_[*solving_] = true;
    solving_.reset();
    if (target_ ? known_[*target_]
                : std::find(known_.begin(), known_.end(), false) == known_.end()) {
      if (target_) m.push(*m.global(mpar_.variables[*target_].symbol()));
      return true;
    }
    for (const Object& equation : mpar_.equations) {
      const std::optional<std::size_t> unknown = single_unknown(equation);
      if (!unknown) continue;
      solving_ = unknown;
      const Object& name = mpar_.variables[*unknown];
      const Object* value = m.global(name.symbol());
      Real guess;
      UnitFactors units;
      if (value && value->is(Kind::real)) guess = value->as_real();
      if (value && value->is(Kind::unit)) {
        guess = unit_of(*value).value;
        units = unit_of(*value).factors;
      }
      start_root_search(
          m, cmd::mroot, as_difference(equation), name, {guess}, {argument_}, [](Machine&, Real) {},
          std::move(units));
      return false;
    }
    m.push(argument_);
    fail(too_many_unknowns, cmd::mroot);
  }

 private:
  // The one unknown variable of an equation, if it has exactly one.
  std::optional<std::size_t> single_unknown(const Object& equation) const {
    std::vector<Object> names;
    add_variables(equation, names);
    std::optional<std::size_t> found;
    for (const Object& name : names) {
      const std::size_t k = variable_index(mpar_, name);
      if (known_[k]) continue;
      if (found) return std::nullopt;
      found = k;
    }
    return found;
  }

  Mpar mpar_;
  std::vector<bool> known_;
  std::optional<std::size_t> target_;  // none: every calculated variable
  Object argument_;
  std::optional<std::size_t> solving_;
};

// 'name' MROOT: its value, solved for (it becomes a calculated variable). "ALL" MROOT:
// every calculated variable solved for.
void mroot(Machine& m, const Args& a) {
  Mpar p = read_mpar(m);
  std::vector<bool> known = p.user;
  std::optional<std::size_t> target;
  const std::vector<std::size_t> chosen = designated(p, a[1], false);
  if (a[1].is(Kind::string)) {
    if (std::find(known.begin(), known.end(), false) == known.end()) fail(all_variables_known);
  } else {
    target = chosen.front();
    known[*target] = false;
    if (p.user[*target]) {
      p.user[*target] = false;
      write_mpar(m, p);
    }
  }
  m.start_continuation(
      std::make_unique<MultipleRoots>(std::move(p), std::move(known), target, a[1]));
}

constexpr CommandRow rows[] = {
    {"MINIT", 0, minit}, {"MITM", 2, mitm},   {"MSOLVR", 0, msolvr},
    {"MUSER", 1, muser}, {"MCALC", 1, mcalc}, {"MROOT", 1, mroot},
};

}  // namespace

std::span<const CommandRow> equation_set_commands() { return rows; }

}  // namespace rplrun
