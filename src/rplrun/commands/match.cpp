// \|^MATCH and \|vMATCH: the parts of an algebraic that fit a pattern replaced.
//
// 'expr' { 'pattern' 'replacement' ['condition'] } gives the new expression and 1 when
// anything was replaced, 0 otherwise. A name starting with & in the pattern stands for
// any subexpression, the same one wherever it appears again; the replacement and the
// condition get what it stood for. A fit counts only when the condition evaluates to a
// non-zero real (a symbolic value does not count). \|vMATCH tries the whole expression
// first and does not look inside what it put in; \|^MATCH works from the innermost
// parts out, and then tries each part with what was already replaced inside it. One
// pass either way.
//
// Conditions are evaluated by the machine, so the walk stops at each one: it is begun
// again once the condition's value is known, the answers found so far deciding the fits
// it met before.
#include <optional>

#include "commands/rewriting.h"
#include "commands/support.h"

namespace rplrun {

namespace {

using Bindings = std::vector<std::pair<const Symbol*, Expr>>;

bool is_wildcard(const Expr& e) { return e.is_name() && e.head.symbol()->text().starts_with('&'); }

bool fits(const Expr& pattern, const Expr& e, Bindings& bound) {
  if (is_wildcard(pattern)) {
    for (const auto& [name, value] : bound)
      if (name == pattern.head.symbol()) return same_tree(value, e);
    bound.emplace_back(pattern.head.symbol(), e);
    return true;
  }
  if (pattern.args.size() != e.args.size() || !same(pattern.head, e.head)) return false;
  for (std::size_t k = 0; k < e.args.size(); ++k)
    if (!fits(pattern.args[k], e.args[k], bound)) return false;
  return true;
}

Expr filled(Expr e, const Bindings& bound) {
  for (const auto& [name, value] : bound) e = substitute(e, name, value);
  return e;
}

// A condition met during the walk whose value is not known yet.
struct Pending {
  Expr condition;
};

class Matching : public Continuation {
 public:
  Matching(Expr subject, Expr pattern, Expr replacement, std::optional<Expr> condition,
           bool downward)
      : subject_(std::move(subject)),
        pattern_(std::move(pattern)),
        replacement_(std::move(replacement)),
        condition_(std::move(condition)),
        downward_(downward) {}

  bool resume(Machine& m) override {
    if (waiting_) {
      const Object value = m.pop();
      answers_.push_back(value.is(Kind::real) && !value.as_real().is_zero());
      waiting_ = false;
    }
    asked_ = 0;
    changed_ = false;
    try {
      Expr result = walk(subject_);
      m.push(object_of(result));
      m.push(truth(changed_));
      return true;
    } catch (const Pending& pending) {
      waiting_ = true;
      m.evaluate(object_of(pending.condition));
      return false;
    }
  }

 private:
  Expr walk(const Expr& e) {
    if (downward_)
      if (auto replaced = replace(e)) return std::move(*replaced);
    Expr out{e.head, {}};
    for (const Expr& arg : e.args) out.args.push_back(walk(arg));
    if (!downward_)
      if (auto replaced = replace(out)) return std::move(*replaced);
    return out;
  }

  std::optional<Expr> replace(const Expr& e) {
    Bindings bound;
    if (!fits(pattern_, e, bound)) return std::nullopt;
    if (condition_) {
      const std::size_t asked = asked_++;
      if (asked == answers_.size()) throw Pending{filled(*condition_, bound)};
      if (!answers_[asked]) return std::nullopt;
    }
    changed_ = true;
    return filled(replacement_, bound);
  }

  Expr subject_;
  Expr pattern_;
  Expr replacement_;
  std::optional<Expr> condition_;
  bool downward_;
  std::vector<bool> answers_;
  std::size_t asked_ = 0;
  bool waiting_ = false;
  bool changed_ = false;
};

void match(Machine& m, const Args& a, bool downward) {
  const auto& rule = list_arg(a[1]);
  if (rule.size() != 2 && rule.size() != 3) fail(bad_argument_value);
  Expr subject = expression_arg(a[2]);
  Expr pattern = expression_arg(rule[0]);
  Expr replacement = expression_arg(rule[1]);
  std::optional<Expr> condition;
  if (rule.size() == 3) condition = expression_arg(rule[2]);
  m.start_continuation(std::make_unique<Matching>(std::move(subject), std::move(pattern),
                                                  std::move(replacement), std::move(condition),
                                                  downward));
}

void match_up(Machine& m, const Args& a) { match(m, a, false); }
void match_down(Machine& m, const Args& a) { match(m, a, true); }

constexpr CommandRow rows[] = {
    {"\\|^MATCH", 2, match_up},
    {"\\|vMATCH", 2, match_down},
};

}  // namespace

std::span<const CommandRow> matching_commands() { return rows; }

}  // namespace rplrun
