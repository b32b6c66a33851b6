// Programs run over lists: DOLIST DOSUBS NSUB ENDSUB SEQ STREAM.
//
// Each command runs as a continuation on the machine's own loop: a step pushes the next
// arguments and evaluates the program, and the continuation resumes when the program
// has returned. DOLIST, DOSUBS and SEQ collect in a list every object each step leaves.
// When steps ran and none left anything, DOLIST and DOSUBS leave nothing, so that a
// program run for its effect (`{ p q } 2 \<< STO \>> DOLIST`) leaves a clean stack; SEQ
// leaves `{ }`, as every command does on an empty list.
#include "commands/support.h"
#include "objects/control.h"

namespace rplrun {

namespace {

class Collecting : public Continuation {
 public:
  enum class Nothing { empty_list, no_list };  // what steps that leave nothing give

  Collecting(std::size_t base, Nothing nothing) : base_(base), nothing_(nothing) {}

  bool resume(Machine& m) final {
    auto& s = m.stack();
    if (s.size() > base_) {
      check_item_count(results_.size() + (s.size() - base_));
      results_.insert(results_.end(),
                      std::make_move_iterator(s.begin() + static_cast<std::ptrdiff_t>(base_)),
                      std::make_move_iterator(s.end()));
    }
    s.resize(std::min(s.size(), base_));
    base_ = s.size();
    if (step(m)) {
      ran_ = true;
      return false;
    }
    if (results_.empty() && ran_ && nothing_ == Nothing::no_list) return true;
    m.push(Object::list(std::move(results_)));
    return true;
  }

 protected:
  // Pushes the next arguments and evaluates the program; false when none is left.
  virtual bool step(Machine& m) = 0;

 private:
  std::size_t base_;
  Nothing nothing_;
  bool ran_ = false;
  std::vector<Object> results_;
};

// The program of DOLIST, DOSUBS and STREAM: a program, a command or a name.
const Object& program_arg(const Object& x) {
  if (!x.is(Kind::program) && !x.is(Kind::command) && !x.is(Kind::name)) fail(bad_argument_type);
  return x;
}

// How many arguments the program takes when DOLIST or DOSUBS is given no count: the
// names of a program that starts with \->, or of the user function a name holds; a
// command's argument count; 1 otherwise.
std::size_t implied_count(Machine& m, const Object& program) {
  const Object* p = &program;
  if (p->is(Kind::name)) {
    p = m.lookup(*p);
    if (!p) return 1;
  }
  if (p->is(Kind::command)) return std::max<std::size_t>(1, command_info(p->command_id()).argc);
  if (!p->is(Kind::program) || p->items().empty()) return 1;
  const auto& items = p->items();
  if (!items[0].is(Kind::command) || command_info(items[0].command_id()).word != Word::arrow_)
    return 1;
  std::size_t names = 0;
  while (names + 1 < items.size() && items[names + 1].is(Kind::name)) ++names;
  return std::max<std::size_t>(1, names);
}

// ---- DOLIST: the program on the elements of n lists, taken in parallel.

class DoList : public Collecting {
 public:
  DoList(std::vector<Object> lists, Object program, std::size_t base)
      : Collecting(base, Nothing::no_list),
        lists_(std::move(lists)),
        program_(std::move(program)),
        length_(lists_.front().items().size()) {}

 private:
  bool step(Machine& m) override {
    if (next_ == length_) return false;
    for (const Object& list : lists_) m.push(list.items()[next_]);
    ++next_;
    m.evaluate(program_);
    return true;
  }

  std::vector<Object> lists_;
  Object program_;
  std::size_t length_;
  std::size_t next_ = 0;
};

void dolist(Machine& m, const Args& a) {
  const Object& program = program_arg(a[1]);
  std::size_t n = 0;
  if (a[2].is(Kind::list)) {
    n = implied_count(m, program);
    m.require(n - 1);
  } else {
    n = count_arg(a[2]);
    if (n == 0) fail(bad_argument_value);
    m.require(n);
  }
  auto& s = m.stack();
  std::vector<Object> lists(s.end() - static_cast<std::ptrdiff_t>(a[2].is(Kind::list) ? n - 1 : n),
                            s.end());
  if (a[2].is(Kind::list)) lists.push_back(a[2]);
  for (const Object& list : lists) {
    if (!list.is(Kind::list)) fail(bad_argument_type);
    if (list.items().size() != lists.front().items().size()) fail(invalid_dimension);
  }
  s.resize(s.size() - (a[2].is(Kind::list) ? n - 1 : n));
  m.start_continuation(std::make_unique<DoList>(std::move(lists), program, m.depth()));
}

// ---- DOSUBS: the program on each run of n neighbouring elements.

class DoSubs : public Collecting {
 public:
  DoSubs(Object list, std::size_t size, Object program, std::size_t base)
      : Collecting(base, Nothing::no_list),
        list_(std::move(list)),
        size_(size),
        program_(std::move(program)),
        count_(list_.items().size() >= size ? list_.items().size() - size + 1 : 0) {}

  std::size_t position() const { return next_; }  // NSUB: 1 for the first run
  std::size_t count() const { return count_; }    // ENDSUB

 private:
  bool step(Machine& m) override {
    if (next_ == count_) return false;
    for (std::size_t k = 0; k < size_; ++k) m.push(list_.items()[next_ + k]);
    ++next_;
    m.evaluate(program_);
    return true;
  }

  Object list_;
  std::size_t size_;
  Object program_;
  std::size_t count_;
  std::size_t next_ = 0;
};

void dosubs(Machine& m, const Args& a) {
  const Object& program = program_arg(a[1]);
  if (a[2].is(Kind::list)) {
    const std::size_t n = implied_count(m, program);
    m.start_continuation(std::make_unique<DoSubs>(a[2], n, program, m.depth()));
    return;
  }
  const std::size_t n = count_arg(a[2]);
  if (n == 0) fail(bad_argument_value);
  m.require(1);
  Object list = m.stack().back();
  if (!list.is(Kind::list)) fail(bad_argument_type);
  m.stack().pop_back();
  m.start_continuation(std::make_unique<DoSubs>(std::move(list), n, program, m.depth()));
}

// NSUB and ENDSUB read the innermost DOSUBS running; none: Undefined Local Name, as
// on the calculator, where they are locals of DOSUBS.
const DoSubs& running_dosubs(Machine& m) {
  const Continuation* c = m.find_continuation(
      [](const Continuation& k) { return dynamic_cast<const DoSubs*>(&k) != nullptr; });
  if (!c) fail(undefined_local_name);
  return static_cast<const DoSubs&>(*c);
}

void nsub(Machine& m, const Args&) {
  m.push(integer_object(static_cast<std::int64_t>(running_dosubs(m).position())));
}

void endsub(Machine& m, const Args&) {
  m.push(integer_object(static_cast<std::int64_t>(running_dosubs(m).count())));
}

// ---- SEQ: the object evaluated with an index from start to end by a step.

class Sequence : public Collecting {
 public:
  Sequence(Object object, const Symbol* index, Real start, Real end, Real step, std::size_t base)
      : Collecting(base, Nothing::empty_list),
        object_(std::move(object)),
        index_(index),
        value_(start),
        end_(end),
        step_(step) {}

 private:
  bool step(Machine& m) override {
    if (started_) value_ = m.flags.settle(add(value_, step_));
    const bool in_range = step_.is_negative() ? value_ >= end_ : value_ <= end_;
    if (!in_range) return false;
    if (started_) {
      *m.local(index_) = Object::real(value_);
    } else {
      // The index is seen by the names of the object, local or global, as on the
      // calculator.
      m.bind_index(index_, Object::real(value_));
      started_ = true;
    }
    m.evaluate(object_);
    return true;
  }

  Object object_;
  const Symbol* index_;
  Real value_;
  Real end_;
  Real step_;
  bool started_ = false;
};

void seq(Machine& m, const Args& a) {
  const Symbol* index = name_arg(a[4]).symbol();
  const Real start = real_arg(a[3]);
  const Real end = real_arg(a[2]);
  const Real step = real_arg(a[1]);
  if (step.is_zero()) fail(bad_argument_value);
  m.start_continuation(std::make_unique<Sequence>(a[5], index, start, end, step, m.depth()));
}

// ---- STREAM: the program on the first two elements, then on its result and each
// following element; the last result stays.

class Stream : public Continuation {
 public:
  Stream(Object list, Object program) : list_(std::move(list)), program_(std::move(program)) {}

  bool resume(Machine& m) override {
    const auto& items = list_.items();
    if (next_ == items.size()) return true;
    if (next_ == 0) m.push(items[next_++]);
    m.push(items[next_++]);
    m.evaluate(program_);
    return false;
  }

 private:
  Object list_;
  Object program_;
  std::size_t next_ = 0;
};

void stream(Machine& m, const Args& a) {
  const Object& program = program_arg(a[1]);
  if (list_arg(a[2]).size() < 2) fail(invalid_dimension);
  m.start_continuation(std::make_unique<Stream>(a[2], program));
}

constexpr CommandRow rows[] = {
    {"DOLIST", 2, dolist}, {"DOSUBS", 2, dosubs}, {"NSUB", 0, nsub},
    {"ENDSUB", 0, endsub}, {"SEQ", 5, seq},       {"STREAM", 2, stream},
};

}  // namespace

std::span<const CommandRow> list_program_commands() { return rows; }

}  // namespace rplrun
