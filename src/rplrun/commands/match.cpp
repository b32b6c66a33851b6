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
#include "objects/command_registry.h"

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

std::size_t node_count(const Expr& e) {
  std::size_t count = 1;
  for (const Expr& arg : e.args) count += node_count(arg);
  return count;
}

// A replacement holding a wildcard twice doubles at every level of \|^MATCH: one of
// more parts than this is Insufficient Memory.
constexpr std::size_t max_replacement_parts = 65536;

// The wildcards replaced by what they stood for.
Expr filled(Expr e, const Bindings& bound) {
  for (const auto& [name, value] : bound) e = substitute(e, name, value);
  if (node_count(e) > max_replacement_parts) fail(insufficient_memory);
  return e;
}

// A condition met during the walk whose value is not known yet.
struct Pending {
  Expr condition;
};

// One pass over an expression. With a condition, the first fit whose answer is not
// known yet ends the pass with Pending.
class Matcher {
 public:
  Matcher(Expr pattern, Expr replacement, std::optional<Expr> condition, bool downward)
      : pattern_(std::move(pattern)),
        replacement_(std::move(replacement)),
        condition_(std::move(condition)),
        downward_(downward) {}

  void answer(bool met) { answers_.push_back(met); }

  // The new expression and whether anything was replaced, pushed.
  void run(Machine& m, const Expr& subject) {
    asked_ = 0;
    changed_ = false;
    Expr result = walk(subject);
    m.push(object_of(result));
    m.push(truth(changed_));
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

  Expr pattern_;
  Expr replacement_;
  std::optional<Expr> condition_;
  bool downward_;
  std::vector<bool> answers_;
  std::size_t asked_ = 0;
  bool changed_ = false;
};

// A pass with a condition: begun again after each condition the machine evaluated. An
// error of the pass itself puts the command's arguments back and names it.
class Matching : public Continuation {
 public:
  Matching(Matcher matcher, Expr subject, std::vector<Object> args, std::uint32_t command)
      : matcher_(std::move(matcher)),
        subject_(std::move(subject)),
        args_(std::move(args)),
        command_(command) {}

  bool resume(Machine& m) override {
    if (waiting_) {
      const Object value = m.pop();
      matcher_.answer(value.is(Kind::real) && !value.as_real().is_zero());
      waiting_ = false;
    }
    try {
      matcher_.run(m, subject_);
      return true;
    } catch (const Pending& pending) {
      waiting_ = true;
      m.evaluate(object_of(pending.condition));
      return false;
    } catch (RplError& error) {
      for (const Object& arg : args_) m.push(arg);
      error.command = command_;
      throw;
    }
  }

 private:
  Matcher matcher_;
  Expr subject_;
  std::vector<Object> args_;
  std::uint32_t command_;
  bool waiting_ = false;
};

void match(Machine& m, const Args& a, bool downward) {
  const auto& rule = list_arg(a[1]);
  if (rule.size() != 2 && rule.size() != 3) fail(bad_argument_value);
  Expr subject = expression_arg(a[2]);
  Expr pattern = expression_arg(rule[0]);
  Expr replacement = expression_arg(rule[1]);
  if (rule.size() == 2) {
    Matcher(std::move(pattern), std::move(replacement), std::nullopt, downward).run(m, subject);
    return;
  }
  Matcher matcher(std::move(pattern), std::move(replacement), expression_arg(rule[2]), downward);
  const std::uint32_t command = downward ? cmd::match_down : cmd::match_up;
  m.start_continuation(std::make_unique<Matching>(std::move(matcher), std::move(subject),
                                                  std::vector<Object>{a[2], a[1]}, command));
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
