// The running calculator: data stack, variables, local environments, flags, and the
// evaluator that runs programs on an explicit return stack.
//
// Evaluation never recurses in C++: running a program, a list or an algebraic pushes a
// frame, and one loop (run) takes the next item of the top frame until none is left.
// Commands that run programs themselves (DOLIST) push a frame holding a continuation,
// which the loop resumes whenever that frame is on top. Deep RPL recursion is therefore
// bounded by a frame count, reported as "Insufficient Memory", and step limits, the
// timeout and interruption are checked in that one loop.
//
// The state (stack, LASTARG, variables) is in state.cpp; the evaluator in evaluator.cpp
// (frames, the loop, HALT and CONT), dispatch.cpp (running one command) and
// structures.cpp (the structure words at run time).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "machine/clock.h"
#include "machine/flags.h"
#include "machine/keyboard.h"
#include "machine/screen.h"
#include "numbers/random.h"
#include "objects/control.h"
#include "objects/directory.h"
#include "objects/errors.h"
#include "objects/object.h"

namespace rplrun {

class Machine;
struct CommandInfo;

// The rest of a command that runs programs: resumed each time its frame is on top.
class Continuation {
 public:
  virtual ~Continuation() = default;
  // Returns true when the command is finished (its frame is then removed).
  virtual bool resume(Machine& machine) = 0;
};

// A line given to a command that waits for the user, and where it was read (unknown
// for a line typed at the terminal).
struct Answer {
  std::string text;
  Position where;
};

// What the machine writes and reads while running: DISP text, the answers of INPUT,
// CHOOSE, INFORM and the keys.
struct Terminal {
  std::function<void(const std::string& hp_text)> show;  // one line of DISP, MSGBOX, PROMPT
  // The --input lines not taken yet, for the commands that wait for an answer and for
  // HALT and PROMPT; `input_source` names the file, which had `input_lines` lines.
  std::deque<std::string> input;
  std::uint32_t input_source = 0;
  std::size_t input_lines = 0;
  // The next --input line, with its place in the file.
  std::optional<Answer> take_input();
  // A line typed at the terminal once `input` is used up, asked with its prompt (HP
  // characters). Unset: the answer is missing, and the command halts.
  enum class Typed { line, interrupted, end };
  std::function<Typed(const std::string& prompt, std::string& line)> read_line;
  // Whether a typed line is there to be read without waiting (KEY); unset: never.
  std::function<bool()> line_ready;
  bool interactive = false;  // OFF leaves
};

// What the session watches while programs run (--trace, --strict); unset: nothing.
struct Watchers {
  // After each object of a program, list or algebraic is evaluated.
  std::function<void(const Position& where, const Object& item)> evaluated;
  // Before a program evaluates a global name that has no variable.
  std::function<void(const Position& where, const Object& name)> undefined_name;
};

struct Limits {
  std::uint64_t max_steps = 0;       // 0: none
  std::size_t max_depth = 100000;    // return stack frames: deeper is Insufficient Memory
  std::size_t max_stack = 10000000;  // data stack objects
};

// How a run ended.
struct Outcome {
  // killed: KILL cancelled the run; off: OFF in interactive mode; output_failed: the
  // program's output could not be written.
  // bad_answer: an --input line that a command could not take as its answer (the
  // reason in `error.message`, the line in `where`, the command's place in `asked`).
  enum class Status {
    done,
    error,
    interrupted,
    halted,
    unsupported,
    killed,
    off,
    output_failed,
    bad_answer
  };
  Status status = Status::done;
  RplError error;       // for error
  std::string command;  // the failing command's name (HP characters), if any
  Position where;       // the failing object
  Position asked;       // bad_answer: the command that asked
  std::vector<std::pair<const Symbol*, Position>> chain;  // named programs, innermost first
};

// Interruption from outside the loop (SIGINT, the timeout): set by a signal handler.
void request_interrupt();
void clear_interrupt();
bool interrupt_requested();

class Machine {
 public:
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // ---- data stack
  void push(const Object& object) {
    check_room();
    stack_.push_back(object);
  }
  void push(Object&& object) {
    check_room();
    stack_.push_back(std::move(object));
  }
  Object pop();
  const Object& level(std::size_t n) const { return stack_[stack_.size() - n]; }  // 1 = top
  std::size_t depth() const { return stack_.size(); }
  void require(std::size_t n) const;  // Too Few Arguments unless n objects are there
  // The top n objects, deepest first, taken off the stack (Too Few Arguments unless
  // there). When they are the whole stack its storage goes with them, not a copy: a long
  // list built on the stack is not held twice.
  std::vector<Object> take(std::size_t n);
  std::vector<Object>& stack() { return stack_; }
  const std::vector<Object>& stack() const { return stack_; }

  // ---- variables
  // A global variable's value, looked for in the current directory, then in the
  // directories above it up to HOME; null if none. A subdirectory's value is the
  // directory in the tree: copy it (copy_directory) before it goes anywhere else.
  const Object* global(const Symbol* name) const {
    const GlobalSeen& seen = globals_seen_[seen_slot(name)];
    if (seen.name == name && seen.directory == current_ &&
        seen.version == DirectoryNode::layout_version()) [[likely]]
      return &seen.variable->settled();
    return find_global(name);
  }
  // Stores into the current directory; a directory object is copied in as a
  // subdirectory. Directory Not Allowed over a subdirectory.
  void store_global(const Symbol* name, Object value);
  // Purges a variable of the current directory; a subdirectory only when empty, or
  // with everything in it when `whole_directory` (PGDIR).
  bool purge_global(const Symbol* name, bool whole_directory = false);
  void clear_globals();                             // of the current directory
  std::vector<const Symbol*> global_names() const;  // of the current directory, menu order

  // ---- directories
  DirectoryNode& current_directory() { return *current_; }
  DirectoryNode& home_directory();
  const Object& home() const { return home_; }  // HOME as a directory object
  void enter_directory(DirectoryNode& directory);
  // The current directory from HOME down: HOME first.
  std::vector<const DirectoryNode*> path() const;
  // HOME's variables replaced by those of a directory object (RESTORE); HOME becomes
  // the current directory.
  void replace_home(const Object& directory);
  // The innermost local of that name.
  Object* local(const Symbol* name) {
    Variable* v = local_variable(name, false);
    return v ? &v->settled() : nullptr;
  }
  // The variable a name object refers to: its local, or its global; null if none.
  // Throws Undefined Local Name for a local name without an environment.
  const Object* lookup(const Object& name) { return variable(name); }
  // The same, to change its value in place (PUT on a name).
  Object* variable(const Object& name);
  // Stores by a name object: into its local, or into a global.
  void store(const Object& name, Object value);
  // Binds a local that global names see too, until the running command's frame ends:
  // the index of SEQ, which the program it runs reads by a global name.
  void bind_index(const Symbol* name, Object value);

  // ---- state
  Flags flags;
  RandomGenerator random;
  // LASTARG's objects: the arguments of the last command that saved any.
  const std::vector<Object>& last_arguments();
  void set_last_arguments(std::vector<Object> args);
  // The running command's argument `x` (a string, or a list or algebraic without
  // positions) ready to grow in place when nothing else holds it but LASTARG's copy and
  // one variable's, which are told how much of it they saw (the rules in object.h): the
  // command may then add to it rather than copy it. None when anything else may see it.
  std::optional<Growth> growth(const Object& x);
  std::uint32_t error_number = 0;
  std::string error_text;
  Terminal terminal;
  Limits limits;
  Watchers watchers;
  bool real_clock = false;  // TICKS TIME DATE read local time rather than a fixed moment
  std::int64_t clock_offset = 0;  // ticks by which \->TIME \->DATE CLKADJ WAIT moved it
  std::vector<Alarm> alarms;      // in the order they come due
  Menus menus;
  Screen screen;
  UserKeys user_keys;

  // ---- evaluation
  // Runs a program body to the end. `run_programs`: programs among its items are run
  // rather than pushed (a file's objects).
  Outcome run(const Object& body, bool run_programs = false);
  // EVAL: the object is evaluated after the current command returns.
  void evaluate(const Object& object);
  // Runs a program (args already on the stack) after the current command returns.
  void call(const Object& program);
  // Starts a continuation frame for the command now running.
  void start_continuation(std::unique_ptr<Continuation> continuation);
  // The innermost running continuation for which `match` holds, or null.
  Continuation* find_continuation(bool (*match)(const Continuation&));
  // Stops the run: the running command is not supported for these arguments (they are
  // put back on the stack).
  [[noreturn]] void not_supported();
  // Runs a command now, inside the running command's handler, and returns when it is
  // done. Only for commands that compute at once: one that would need the evaluation loop
  // (run a program, evaluate a symbolic argument numerically) stops the run as not
  // supported rather than leave its work undone.
  void run_command(std::uint32_t id);
  // Whether results are wanted as numbers (\->NUM, flag -3) in the running frame.
  bool numeric() const {
    return flags.numeric_results() || (!frames_.empty() && frames_.back().numeric);
  }
  // Whether the running command is an item of an algebraic being evaluated.
  bool in_algebraic() const { return !frames_.empty() && frames_.back().algebraic; }
  // Evaluates `object` numerically (\->NUM).
  void evaluate_numerically(const Object& object);
  // Ends the run now with this status (HALT, KILL, OFF, an INPUT without a line).
  [[noreturn]] void stop(Outcome::Status status);
  // HALT and PROMPT: the run ends as halted and its program waits, with everything it
  // had (frames, locals, loops, error traps), among the halted programs.
  [[noreturn]] void halt() { stop(Outcome::Status::halted); }
  // An --input line that is no answer to the running command: the run ends there,
  // `why` saying what the command expected.
  [[noreturn]] void reject_answer(const Answer& answer, std::string why);
  // CONT: the most recently halted program goes on, on top of what runs now, so that
  // the rest of the command line that said CONT runs after it. None halted: nothing.
  void continue_halted();
  // KILL: every halted program is cancelled, and so is the run.
  [[noreturn]] void kill();
  std::size_t halted_count() const { return halted_.size(); }
  // For commands that compute long (matrix products and inverses): stops the run, as
  // between two objects, when it has been interrupted (Ctrl-C, --timeout).
  void poll() { check_limits(); }
  // For commands that repeat a unit of work on their own (ANIMATE's frames): each one
  // counts as an evaluated object, so that --max-steps bounds them too.
  void count_step() {
    ++steps_;
    check_limits();
  }
  std::uint64_t steps() const { return steps_; }

 private:
  // ---- state (state.cpp)

  struct LocalSlot {
    // Built in place on the locals' stack: binding is part of every call.
    LocalSlot(const Symbol* slot_name, Object&& value, bool is_index = false)
        : name(slot_name), variable{std::move(value), {}}, index(is_index) {}
    const Symbol* name;
    Variable variable;
    bool index = false;  // seen by global names too (bind_index)
  };
  // When set, LASTARG's object at `index` has since grown in place (growth): it is
  // the object as it was when `seen`.
  struct SeenArgument {
    std::size_t index;
    Extent seen;
  };

  void check_room() const {
    if (stack_.size() >= limits.max_stack) [[unlikely]]
      fail(insufficient_memory);
  }
  // A global variable found from a directory, remembered while no variable is made or
  // removed anywhere: a program calls the same few names again and again.
  struct GlobalSeen {
    const Symbol* name = nullptr;
    const DirectoryNode* directory = nullptr;
    std::uint64_t version = 0;
    Variable* variable = nullptr;
  };
  static constexpr std::size_t globals_seen_size = 64;
  static std::size_t seen_slot(const Symbol* name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 4) % globals_seen_size;
  }
  // global() when the name is not among those seen: from the current directory up to
  // HOME.
  const Object* find_global(const Symbol* name) const;
  // Drops the locals from `size` on.
  void truncate_locals(std::size_t size);
  Object* index_local(const Symbol* name);
  // The innermost local of that name (only an index of SEQ: `index_only`), unsettled.
  // Inline: every local name a program evaluates looks here.
  Variable* local_variable(const Symbol* name, bool index_only) {
    if (index_only && index_count_ == 0) return nullptr;
    for (auto it = locals_.rbegin(); it != locals_.rend(); ++it) {
      if (it->name == name && (it->index || !index_only)) return &it->variable;
    }
    return nullptr;
  }
  // LASTARG's objects become copies of these n.
  void save_last_arguments(const Object* args, int n);
  // The same for the two reals of the two-reals path: when LASTARG holds two reals
  // already (a loop's arithmetic), only their values change.
  [[gnu::always_inline]] bool last_args_are_reals() const {
    return last_args_.size() == 2 && last_args_[0].is(Kind::real) && last_args_[1].is(Kind::real);
  }
  // When last_args_are_reals().
  [[gnu::always_inline]] void set_last_reals(Real x, Real y) {
    last_args_[0].set_real(x);
    last_args_[1].set_real(y);
  }
  [[gnu::always_inline]] void save_last_reals(const Object& x, const Object& y) {
    if (last_args_are_reals()) [[likely]] {
      set_last_reals(x.as_real(), y.as_real());
      return;
    }
    const Object both[] = {x, y};
    save_last_arguments(both, 2);
  }

  std::vector<Object> stack_;
  std::vector<Object> last_args_;
  std::optional<SeenArgument> last_arg_seen_;
  // The variable tree: HOME's directory object, which owns the rest, and the current
  // directory. Reading a global settles it, which a const reader may do too.
  Object home_;
  DirectoryNode* current_ = nullptr;
  mutable std::array<GlobalSeen, globals_seen_size> globals_seen_{};
  std::vector<LocalSlot> locals_;
  std::size_t index_count_ = 0;  // locals with `index` set

  // ---- evaluator (evaluator.cpp: frames, items, the loop, HALT and CONT)

  // A program, list or algebraic being run, or a command's continuation.
  struct Frame {
    // Each field set once, in place on the return stack: part of every call.
    Frame(Position call_origin, std::uint32_t locals, std::uint32_t loops, std::uint32_t traps)
        : origin(call_origin), locals_base(locals), loops_base(loops), traps_base(traps) {}
    std::shared_ptr<const Node> owner;  // keeps the items alive
    const Object* items = nullptr;
    const Position* positions = nullptr;
    const Control* control = nullptr;
    std::uint32_t ip = 0;
    std::uint32_t end = 0;
    Position origin;               // where it was called from
    const Symbol* name = nullptr;  // the global name it runs under
    std::uint32_t locals_base = 0;
    std::uint32_t loops_base = 0;
    std::uint32_t traps_base = 0;
    bool numeric = false;
    bool run_programs = false;
    bool algebraic = false;
    bool command_object = false;         // a command object being evaluated (its one-item program)
    // How many programs ended in \-> here and left their bodies to run in this frame:
    // it counts as that many more frames towards the depth limit, as those it stands for.
    std::uint32_t merged = 0;
    std::uint32_t command = UINT32_MAX;  // a continuation's command
    std::unique_ptr<Continuation> continuation;
  };
  // A START or FOR loop running.
  struct Loop {
    std::uint32_t body;  // index of the first item of the body
    std::int32_t slot;   // FOR: the counter's local slot; START: -1
    Object counter;      // START's counter
    Object end;
  };
  // An IFERR waiting for an error: the frame whose THEN clause it resumes at, and how
  // many locals and loops were there when it was set.
  struct ErrorTrap {
    std::uint32_t frame;
    std::uint32_t resume_ip;
    std::uint32_t locals;
    std::uint32_t loops;
  };
  // Thrown to end the run with a status other than an error.
  struct Stop {
    Outcome::Status status;
  };
  // A halted program: what its run had when HALT stopped it.
  struct Halted {
    std::vector<Frame> frames;
    std::vector<LocalSlot> locals;
    std::vector<Loop> loops;
    std::vector<ErrorTrap> traps;
  };

  Frame& open_frame(Position origin);
  void push_frame(const Object& sequence, const Symbol* name, bool numeric,
                  bool run_programs = false);
  // The frame runs the items of `sequence` from the first. Inline: part of every call.
  [[gnu::always_inline]] void show_items(Frame& frame, const Object& sequence) {
    const auto& node = sequence.node_as<SequenceNode>();
    frame.items = node.items().data();
    frame.end = static_cast<std::uint32_t>(node.size());
    frame.positions = node.positions.empty() ? nullptr : node.positions.data();
    frame.control = nullptr;
    if (sequence.is(Kind::program)) {
      const auto& program = sequence.node_as<ProgramNode>();
      if (!program.control.empty()) frame.control = program.control.data();
    }
    frame.ip = 0;
    frame.algebraic = sequence.is(Kind::algebraic);
  }
  void call_program(const Object& program, const Symbol* name);
  bool enter_user_function(Frame& frame, const Object& program);
  void pop_frame();
  // The top frame stands down to `size` frames (errors, the end of a run).
  void drop_frames(std::size_t size);
  void run_frames();
  void resume(Frame& frame);
  void run_steps(Frame& frame);
  // Counts an item's step; false when it must go the slow way (execute_slowly).
  bool count_item();
  bool execute_step(Frame& frame, const Object& item, std::uint32_t index);
  void execute_object(Frame& frame, const Object& item);
  void execute(Frame& frame, const Object& item, std::uint32_t index);
  bool run_local_name(const Object& item);
  bool run_local_operation(Frame& frame, const Object& item, std::uint32_t index);
  void run_global_name(const Frame& frame, const Object& item);
  void run_command_item(const Object& item);
  void execute_slowly(Frame& frame, const Object& item, std::uint32_t index);
  void execute_name(const Object& name);
  void evaluate_global(const Symbol* symbol, const Object* value);
  void execute_local(const Object& name);
  void execute_call(const Object& call);
  // Stops the run, as interrupted, after Ctrl-C, the timeout or the last step allowed.
  void check_limits();
  bool over_limits() const;
  [[noreturn]] void stop_unsupported(std::uint32_t command);
  [[noreturn]] void fail_undefined_name();
  Position current_position() const;
  Position frame_position(std::size_t frame_index) const;
  bool catch_error(const RplError& error);
  void fill_error(Outcome& outcome, const RplError& error);
  void fill_chain(Outcome& outcome) const;

  std::vector<Frame> frames_;
  std::size_t merged_frames_ = 0;  // the frames' `merged`, added up
  std::vector<Loop> loops_;
  std::vector<ErrorTrap> traps_;
  std::vector<Halted> halted_;  // most recent last
  std::uint64_t steps_ = 0;
  // The loop looks at the step limit and the watchers past this step (set by run).
  std::uint64_t slow_after_ = 0;
  std::optional<std::uint32_t> unsupported_;    // the command that stopped the run
  struct Rejected {
    Position where;
    std::string why;
    std::uint32_t command;
  };
  std::optional<Rejected> rejected_;            // reject_answer's
  std::uint32_t current_command_ = UINT32_MAX;  // the command whose handler is running
  int synchronous_ = 0;                         // run_command calls under way
  // EVAL of a command object runs it from a one-item program, one per command.
  std::vector<Object> command_programs_;

  // ---- commands (dispatch.cpp)

  class RunningCommand;
  void dispatch(std::uint32_t id);
  void run_handler(const CommandInfo& info, std::uint32_t id);
  void check_runnable(const CommandInfo& info, std::uint32_t id);
  bool compute_on_reals(const CommandInfo& info, std::uint32_t id);
  void settle_on_reals(Condition condition, std::uint32_t id, bool saved);
  bool check_operands(const CommandInfo& info, std::uint32_t id, Object* args, int n);
  void route(const CommandInfo& info, std::uint32_t id, Object* args, int n);
  bool build_symbolic(std::uint32_t id, Object* args, int n);
  bool grow_symbolic(std::uint32_t id, Object* args, int n);

  // ---- structures (structures.cpp)

  // The structure word at `index` of the top frame. What pushes a frame may move `frame`:
  // it is not used after that.
  void run_structure(Frame& frame, const Control& control, std::uint32_t word, std::uint32_t index);
  // THEN, REPEAT, UNTIL's END: the test on level 1, a real. Inline: the loop takes the
  // test of every IF itself.
  [[gnu::always_inline]] bool take_test(std::uint32_t word) {
    if (stack_.empty()) fail(too_few_arguments, word);
    const Object& test = stack_.back();
    if (!test.is(Kind::real)) fail(bad_argument_type, word);
    const bool result = !test.as_real().is_zero();
    stack_.pop_back();
    return result;
  }
  void set_trap(std::uint32_t resume_ip);
  void take_bounds(std::uint32_t word, Object& start, Object& end);
  void start_loop(std::uint32_t word, std::uint32_t index);
  void start_for(Frame& frame, std::uint32_t word, std::uint32_t index);
  void next_loop(Frame& frame, std::uint32_t word, bool step);
  Real take_step(std::uint32_t word);
  void bind_locals(Frame& frame, std::uint32_t word, std::uint32_t index, std::uint32_t count);
  void run_in_place(Frame& frame, const Object& body);
};

}  // namespace rplrun
