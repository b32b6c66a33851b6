// The root finder: ROOT, and the search that the other solvers share. Each value of the
// function is computed on the machine's own loop: the search is a continuation that
// resumes when the function has returned.
#include "commands/solvers.h"

#include "numbers/root_search.h"
#include "objects/algebraic.h"
#include "objects/command_ids.h"
#include "objects/reader.h"
#include "objects/symbolic.h"

namespace rplrun {

Object as_difference(const Object& x) {
  if (!x.is(Kind::algebraic) || !x.items().back().is(Kind::command) ||
      x.items().back().command_id() != cmd::equation)
    return x;
  std::vector<std::vector<Object>> sides = last_operands(x.items());
  const Object operands[] = {object_of(std::move(sides[0])), object_of(std::move(sides[1]))};
  return build_algebraic(operands, 2, Object::command(cmd::minus));
}

namespace {

// The function's value: the object on the stack evaluated as \->NUM does, a failure
// caught (it leaves no number).
const Object& numeric_value() {
  static const Object program = read_builtin_program("ROOT", "IFERR \\->NUM THEN \"\" END");
  return program;
}

class RootFinder : public Continuation {
 public:
  RootFinder(Machine& m, std::uint32_t command, Object function, Object name,
             std::vector<Real> guesses, std::vector<Object> restore,
             std::function<void(Machine&, Real)> done, UnitFactors units)
      : function_(std::move(function)),
        name_(std::move(name)),
        search_(std::move(guesses)),
        restore_(std::move(restore)),
        done_(std::move(done)),
        units_(std::move(units)),
        base_(m.depth()),
        command_(command) {}

  bool resume(Machine& m) final {
    if (waiting_) {
      std::optional<Real> value;
      if (m.depth() > base_ && m.level(1).is(Kind::real)) value = m.level(1).as_real();
      if (m.depth() > base_ && !units_.empty() && m.level(1).is(Kind::unit))
        value = unit_of(m.level(1)).value;
      m.stack().resize(std::min(m.depth(), base_));
      search_.report(value);
    }
    switch (search_.result()) {
      case RootSearch::Result::searching:
        m.store(name_, tried(search_.next()));
        m.push(function_);
        m.call(numeric_value());
        waiting_ = true;
        return false;
      case RootSearch::Result::bad_guess: give_up(m, bad_guesses);
      case RootSearch::Result::constant: give_up(m, constant_function);
      default:
        m.store(name_, tried(search_.root()));
        done_(m, search_.root());
        return true;
    }
  }

 private:
  Object tried(Real x) const { return units_.empty() ? Object::real(x) : make_unit(x, units_); }

  [[noreturn]] void give_up(Machine& m, ErrorNumber error) {
    for (Object& x : restore_) m.push(std::move(x));
    fail(error, command_);
  }

  Object function_;
  Object name_;
  RootSearch search_;
  std::vector<Object> restore_;
  std::function<void(Machine&, Real)> done_;
  UnitFactors units_;
  std::size_t base_;
  std::uint32_t command_;  // the solver's, which errors name
  bool waiting_ = false;
};

// A guess, or a list of one to three.
std::vector<Real> guesses_of(const Object& x) {
  if (x.is(Kind::real)) return {x.as_real()};
  const std::span<const Object> items = list_arg(x);
  if (items.empty() || items.size() > 3) fail(bad_argument_value);
  std::vector<Real> guesses;
  for (const Object& item : items) guesses.push_back(real_arg(item));
  return guesses;
}

// function 'name' guess ROOT: the root, also left in the variable.
void root(Machine& m, const Args& a) {
  const Object& function = a[3];
  if (!function.is(Kind::program) && !function.is_symbolic()) fail(bad_argument_type);
  name_arg(a[2]);
  std::vector<Real> guesses = guesses_of(a[1]);
  start_root_search(m, cmd::root, as_difference(function), a[2], std::move(guesses),
                    {a[3], a[2], a[1]},
                    [](Machine& machine, Real x) { machine.push(Object::real(x)); });
}

constexpr CommandRow rows[] = {
    {"ROOT", 3, root},
};

}  // namespace

void start_root_search(Machine& m, std::uint32_t command, Object function, Object name,
                       std::vector<Real> guesses, std::vector<Object> restore,
                       std::function<void(Machine&, Real)> done, UnitFactors units) {
  m.start_continuation(std::make_unique<RootFinder>(
      m, command, std::move(function), std::move(name), std::move(guesses), std::move(restore),
      std::move(done), std::move(units)));
}

std::span<const CommandRow> solver_commands() { return rows; }

}  // namespace rplrun
