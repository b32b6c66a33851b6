// What the rewriting commands share, and the two that only look at an algebraic's
// names: LININ (whether it is linear in a name) and SHOW (the names that hide a name
// replaced by what they hold).
#include "commands/rewriting.h"

#include <algorithm>
#include <unordered_map>

#include "commands/support.h"
#include "objects/command_registry.h"

namespace rplrun {

Expr expression_arg(const Object& x) {
  if (!x.is_number() && !x.is_symbolic()) fail(bad_argument_type);
  return tree_of(x);
}

const Symbol* variable_arg(const Object& x) { return name_arg(x).symbol(); }

Expr sum_of(Expr a, Expr b) {
  return simplified(apply_expr(cmd::plus, {std::move(a), std::move(b)}));
}
Expr difference_of(Expr a, Expr b) {
  return simplified(apply_expr(cmd::minus, {std::move(a), std::move(b)}));
}
Expr product_of(Expr a, Expr b) {
  return simplified(apply_expr(cmd::times, {std::move(a), std::move(b)}));
}
Expr quotient_of(Expr a, Expr b) {
  return simplified(apply_expr(cmd::divide, {std::move(a), std::move(b)}));
}
Expr power_of(Expr a, Expr b) {
  return simplified(apply_expr(cmd::power, {std::move(a), std::move(b)}));
}
Expr negation_of(Expr a) { return simplified(apply_expr(cmd::negate, {std::move(a)})); }
Expr function_of(std::uint32_t id, Expr a) { return simplified(apply_expr(id, {std::move(a)})); }

bool linear_in(const Expr& e, const Symbol* x) {
  if (!mentions(e, x)) return true;
  if (e.is_name()) return true;
  if (e.is(cmd::plus) || e.is(cmd::minus) || e.is(cmd::equation))
    return linear_in(e.args[0], x) && linear_in(e.args[1], x);
  if (e.is(cmd::negate)) return linear_in(e.args[0], x);
  if (e.is(cmd::times))
    return (!mentions(e.args[0], x) && linear_in(e.args[1], x)) ||
           (!mentions(e.args[1], x) && linear_in(e.args[0], x));
  if (e.is(cmd::divide)) return !mentions(e.args[1], x) && linear_in(e.args[0], x);
  return false;
}

namespace {

void lininn(Machine& m, const Args& a) {
  const Symbol* x = variable_arg(a[1]);
  m.push(truth(linear_in(expression_arg(a[2]), x)));
}

// What SHOW may put in place of a global name: the variable's number, name or
// algebraic; nothing for a name without a variable or with any other object.
const Object* shown_value(Machine& m, const Expr& e) {
  if (!e.is_name() || e.head.is_local()) return nullptr;
  const Object* value = m.global(e.head.symbol());
  if (!value || (!value->is_number() && !value->is_symbolic())) return nullptr;
  return value;
}

// The names whose variables lead to x (x itself excluded) replaced by what they hold,
// or with a list given, every name outside it.
class Shower {
 public:
  Shower(Machine& m, const Symbol* x, std::vector<const Symbol*> keep, bool by_list)
      : m_(m), x_(x), keep_(std::move(keep)), by_list_(by_list) {}

  Expr show(const Expr& e) {
    const Object* value = shown_value(m_, e);
    // A variable met again inside its own value stays a name.
    if (value && wanted(e.head.symbol()) &&
        std::find(seen_.begin(), seen_.end(), e.head.symbol()) == seen_.end()) {
      seen_.push_back(e.head.symbol());
      Expr shown = show(tree_of(*value));
      seen_.pop_back();
      return shown;
    }
    Expr out{e.head, {}};
    for (const Expr& arg : e.args) out.args.push_back(show(arg));
    return out;
  }

 private:
  bool wanted(const Symbol* s) {
    if (by_list_) return std::find(keep_.begin(), keep_.end(), s) == keep_.end();
    return s != x_ && leads_to_x(s);
  }

  // Whether the variable s holds x, directly or through other variables; each variable
  // is looked into once.
  bool leads_to_x(const Symbol* s) {
    if (auto known = known_.find(s); known != known_.end()) return known->second;
    known_[s] = false;  // while it is looked into: a variable met again adds nothing
    const Object* value = m_.global(s);
    const bool found =
        value && (value->is_number() || value->is_symbolic()) && reaches(tree_of(*value));
    known_[s] = found;
    return found;
  }

  bool reaches(const Expr& e) {
    if (e.is_name()) return e.head.symbol() == x_ || leads_to_x(e.head.symbol());
    return std::any_of(e.args.begin(), e.args.end(), [&](const Expr& arg) { return reaches(arg); });
  }

  Machine& m_;
  const Symbol* x_;
  std::vector<const Symbol*> keep_;
  bool by_list_;
  std::vector<const Symbol*> seen_;
  std::unordered_map<const Symbol*, bool> known_;
};

// SHOW: 'expr' 'name' or 'expr' { names }.
void show(Machine& m, const Args& a) {
  const Expr e = expression_arg(a[2]);
  if (a[1].is(Kind::list)) {
    std::vector<const Symbol*> keep;
    for (const Object& item : a[1].items()) keep.push_back(variable_arg(item));
    m.push(object_of(Shower(m, nullptr, std::move(keep), true).show(e)));
    return;
  }
  const Symbol* x = variable_arg(a[1]);
  m.push(object_of(Shower(m, x, {}, false).show(e)));
}

constexpr CommandRow rows[] = {
    {"LININ", 2, lininn},
    {"SHOW", 2, show},
};

}  // namespace

std::span<const CommandRow> inspection_commands() { return rows; }

}  // namespace rplrun
