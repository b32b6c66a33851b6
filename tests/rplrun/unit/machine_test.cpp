// The machine's invariants, run through Machine::run itself: what LASTARG keeps (flag
// -55 clear) and what it does not (set), on the fast path of two reals and the general
// one; objects grown in place, which no other holder may see change; and programs
// halted and continued on top of what runs now.
#include <gtest/gtest.h>

#include "objects/charset.h"
#include "objects/display.h"
#include "machine/machine.h"
#include "objects/reader.h"
#include "objects/transfer.h"

namespace rplrun {
namespace {

// A calculator that runs command lines one after another.
struct Calculator {
  Machine machine;

  Outcome::Status run(const std::string& text) {
    const SourceText source = load_command_line(register_source("t"), text);
    return machine.run(read_program_body(source, ReadContext{})).status;
  }
  std::string shown(const std::vector<Object>& objects) const {
    std::string text;
    for (const Object& object : objects)
      text += (text.empty() ? "" : " ") + encode(decompile(object, machine.flags),
                                                 OutputCharset::ascii);
    return text;
  }
  std::string stack() const { return shown(machine.stack()); }
  std::string last_arguments() { return shown(machine.last_arguments()); }
};

struct LastArgCase {
  const char* text;
  // Flag -55 clear, then set: the stack and LASTARG.
  const char* stack;
  const char* last_arguments;
  const char* stack_not_saved;
  const char* last_not_saved;
};

TEST(Machine, LastArgumentsFollowFlag55) {
  // Each runs after "7 8 +", which leaves 15 and LASTARG 7 8.
  const LastArgCase cases[] = {
      // Two reals take a path of their own.
      {"1 2 +", "15 3", "1 2", "15 3", "7 8"},
      {"(1,2) 3 +", "15 (4,2)", "(1,2) 3", "15 (4,2)", "7 8"},
      // An error gives the arguments back, unless they were not saved.
      {"1 0 /", "15 1 0", "1 0", "15", "7 8"},
      {"\"a\" 0 /", "15 \"a\" 0", "\"a\" 0", "15", "7 8"},
      // A command without arguments leaves LASTARG alone.
      {"DEPTH", "15 1", "7 8", "15 1", "7 8"},
  };
  for (const LastArgCase& c : cases) {
    for (const bool saved : {true, false}) {
      SCOPED_TRACE(std::string(c.text) + (saved ? "" : " (-55 set)"));
      Calculator calc;
      calc.run("7 8 +");
      if (!saved) calc.machine.flags.set(-55);
      calc.run(c.text);
      EXPECT_EQ(calc.stack(), saved ? c.stack : c.stack_not_saved);
      EXPECT_EQ(calc.last_arguments(), saved ? c.last_arguments : c.last_not_saved);
    }
  }
}

struct GrowthCase {
  const char* text;
  const char* stack;
  const char* last_arguments;
  const char* grown;  // the variable whose object became level `depth`, grown in place
};

// A list, string or algebraic that only a variable and LASTARG hold grows in place; the
// variable, LASTARG and any other holder still see it as it was.
TEST(Machine, GrowthInPlaceIsSeenByNoOtherHolder) {
  const GrowthCase cases[] = {
      {"L 4 +", "{ 1 2 3 4 }", "{ 1 2 3 } 4", "L"},
      {"L 4 + 5 +", "{ 1 2 3 4 5 }", "{ 1 2 3 4 } 5", "L"},
      {"L 4 + LASTARG", "{ 1 2 3 4 } { 1 2 3 } 4", "{ 1 2 3 } 4", "L"},
      {"0 L +", "{ 0 1 2 3 }", "0 { 1 2 3 }", "L"},
      {"L DUP 4 +", "{ 1 2 3 } { 1 2 3 4 }", "{ 1 2 3 } 4", nullptr},
      {"'L' 4 STO+ L", "{ 1 2 3 4 }", "'L' 4", nullptr},
      {"S \"d\" +", "\"abcd\"", "\"abc\" \"d\"", "S"},
      {"'A' RCL 2 *", "'(X+1)*2'", "'X+1' 2", "A"},
      {"'A' RCL 2 * 3 -", "'(X+1)*2-3'", "'(X+1)*2' 3", "A"},
      {"2 'A' RCL *", "'2*(X+1)'", "2 'X+1'", "A"},
      {"1 2 3 3 \\->LIST \\-> l \\<< l 4 + l \\>>", "{ 1 2 3 4 } { 1 2 3 }", "{ 1 2 3 } 4",
       nullptr},
  };
  for (const GrowthCase& c : cases) {
    SCOPED_TRACE(c.text);
    Calculator calc;
    // Objects that commands built: those read from a text keep their positions, and are
    // copied the first time.
    calc.run("1 2 3 3 \\->LIST 'L' STO \"abc\" 'S' STO 'X' 1 + 'A' STO");
    const Node* node = nullptr;
    std::string was;
    const std::string recall = c.grown ? "'" + std::string(c.grown) + "' RCL" : "";
    if (c.grown) {
      calc.run(recall);
      node = calc.machine.level(1).node();
      was = calc.stack();
      calc.run("CLEAR");
    }
    EXPECT_EQ(calc.run(c.text), Outcome::Status::done);
    EXPECT_EQ(calc.stack(), c.stack);
    EXPECT_EQ(calc.last_arguments(), c.last_arguments);
    if (c.grown) {
      EXPECT_EQ(calc.machine.level(calc.machine.depth()).node(), node);
      calc.run("CLEAR " + recall);
      EXPECT_EQ(calc.stack(), was);
    }
  }
}

// A halted program goes on, at CONT, on top of the frames, locals, loops and error traps
// of the run that says CONT, and leaves them as they were.
TEST(Machine, ContinuedProgramsRunOnTopOfTheRunningOne) {
  Calculator calc;
  EXPECT_EQ(calc.run("5 \\<< \\-> a \\<< 1 2 FOR i IFERR HALT a i / 0 / THEN \"t\" a END "
                     "NEXT \\>> \\>> EVAL"),
            Outcome::Status::halted);
  EXPECT_EQ(calc.machine.halted_count(), 1u);
  EXPECT_EQ(calc.stack(), "");
  // The first pass of its loop ends in its own trap; the second halts again, and the
  // continuing run waits with it.
  EXPECT_EQ(calc.run("\\<< 7 \\-> b \\<< 10 20 FOR j IFERR CONT THEN \"e\" ELSE b j + "
                     "END 10 STEP \\>> \\>> EVAL"),
            Outcome::Status::halted);
  EXPECT_EQ(calc.stack(), "5 0 \"t\" 5");
  EXPECT_EQ(calc.machine.halted_count(), 1u);
  // Its loop, local and trap are found again, then the continuing run's own.
  EXPECT_EQ(calc.run("CONT"), Outcome::Status::done);
  EXPECT_EQ(calc.stack(), "5 0 \"t\" 5 2.5 0 \"t\" 5 17 27");
  EXPECT_EQ(calc.machine.halted_count(), 0u);
  // Nothing halted: CONT does nothing; KILL cancels what is halted.
  EXPECT_EQ(calc.run("CLEAR CONT 1"), Outcome::Status::done);
  EXPECT_EQ(calc.run("1 HALT 2"), Outcome::Status::halted);
  EXPECT_EQ(calc.run("KILL"), Outcome::Status::killed);
  EXPECT_EQ(calc.machine.halted_count(), 0u);
  EXPECT_EQ(calc.stack(), "1 1");
}

}  // namespace
}  // namespace rplrun
