// Interactive mode through a pseudo-terminal: what is typed, a line at a time or in
// answer to what rplrun shows, and the whole dialogue on standard output.
#include <gtest/gtest.h>

#include <filesystem>

#include "rplrun_test.h"

namespace {

using harness::Invocation;
using harness::Stream;

struct Dialogue {
  const char* name;
  std::vector<std::string> args;
  std::string typed;                       // at once, at the start
  std::vector<Invocation::Reply> replies;  // then each once its cue is shown
  std::string out;  // {{RPL}} stands for the display that "rplrun --show -e RPL" draws
  std::string err;
};

// Ctrl-C, Ctrl-D
const std::string interrupt = "\x03";
const std::string end = "\x04";

const Dialogue dialogues[] = {
    // At a terminal with no FILE, interactive mode starts by itself. An error leaves
    // the stack as the failing command left it, its arguments back; UNDO puts back the
    // stack of before the last line, and a second UNDO the one it replaced.
    {"StackErrorsAndUndo",
     {},
     "1 2\n+\n0 /\nUNDO\nUNDO\nDROP\n" + end,
     {},
     "> 2: 1\n1: 2\n> 1: 3\n> 2: 3\n1: 0\n> 1: 3\n> 2: 3\n1: 0\n> 1: 3\n> \n",
     "rplrun: -:3:3: / Error: Infinite Result\n"},
    // PROMPT halts until CONT, which a line may follow with more; KILL cancels.
    {"PromptContKill",
     {"-i"},
     "\\<< \"Size?\" PROMPT 2 * \\>> 'P' STO\nP\n21 CONT 1\nP\nKILL\nCONT\n" + end,
     {},
     "> > Size?\n{{\"Size?\" PROMPT}}HALT> 2: 42\n1: 1\n> Size?\n{{\"Size?\" PROMPT}}2: 42\n1: "
     "1\nHALT> 2: 42\n1: 1\n> 2: 42\n1: 1\n> \n",
     ""},
    // A program halted before the prompt waits for CONT there.
    {"HaltedBeforeThePrompt",
     {"-i", "-e", "1 HALT 2"},
     "CONT\n" + end,
     {},
     "1: 1\nHALT> 2: 1\n1: 2\n> \n",
     ""},
    {"InputReadsALine",
     {},
     "\"Name?\" \":\" INPUT\nBob\n" + end,
     {},
     "> Name?\n1: \"Bob\"\n> \n",
     ""},
    // Ctrl-C interrupts a running program (here a name that names itself, evaluated
    // without end) and comes back to the prompt; at the prompt it drops what was typed.
    {"InterruptARunningProgram",
     {"-i"},
     "1 'A' 'A' STO \"go\" 1 DISP A\n",
     {{"go\n", interrupt}, {"> ", "2\n" + end}},
     "> go\n{{\"go\" 1 DISP}}1: 1\n> 2: 1\n1: 2\n> \n",
     "rplrun: -:1:27: Interrupted\n"},
    {"InterruptAtThePrompt",
     {},
     "",
     {{"> ", "12" + interrupt}, {"> ", "3\n" + end}},
     "> \n> 1: 3\n> \n",
     ""},
    // Ctrl-C while INPUT waits cancels the program, INPUT's arguments back.
    {"InterruptInput",
     {},
     "5 \"?\" \"\" INPUT 6\n",
     {{"?\n", interrupt}, {"> ", end}},
     "> ?\n3: 5\n2: \"?\"\n1: \"\"\n> \n",
     "rplrun: -:1:10: Interrupted\n"},
    // Ctrl-D as INPUT's answer cancels the program; the session goes on.
    {"EndOfInputAnswersInput",
     {},
     "5 \"?\" \"\" INPUT 6\n",
     {{"?\n", end}, {"> ", "7\n" + end}},
     "> ?\n3: 5\n2: \"?\"\n1: \"\"\n> 4: 5\n3: \"?\"\n2: \"\"\n1: 7\n> \n",
     "rplrun: -:1:10: Interrupted\n"},
    // CHOOSE shows a numbered menu and asks again after an answer it cannot take;
    // INFORM asks for the fields one by one, an empty line keeping a field as it is.
    {"ChooseAndInform",
     {},
     "\"Fruit\" { Apple { \"Pear\" 7 } } 2 CHOOSE\n5\n\n"
     "\"Loan\" { \"Rate\" { \"Years\" \"in years\" 0 } } { } { } { 4 30 } INFORM\n\n\"x\"\n2\n" +
         end,
     {},
     "> Fruit\n  1. Apple\n> 2. Pear\nChoice (a number from 0 to 2)?\nbad answer \"5\": expected a "
     "number from 0 to 2, or an empty line\nChoice (a number from 0 to 2)?\n2: 7\n1: 1\n> "
     "Loan\nRate [4]\nYears [30]  (in years)\nbad answer \"\"x\"\": the field takes objects of "
     "TYPE 0\nYears [30]  (in years)\n4: 7\n3: 1\n2: { 4 2 }\n1: 1\n> \n",
     ""},
    // Ctrl-D cancels a form (0); WAIT asks for a key, KEY takes one typed already.
    {"CancelAndKeys",
     {},
     "\"\" { \"A\" } { } { } { } INFORM\n" + end + "0 WAIT\nLS 1\nKEY\nENTER\nKEY\n" + end,
     {},
     "> A\n1: 0\n> Key?\n2: 0\n1: 82.2\n> 4: 0\n3: 82.2\n2: 51\n1: 1\n> 5: 0\n4: 82.2\n3: 51\n2: "
     "1\n1: 0\n> \n",
     ""},
    {"OffLeaves", {}, "1 OFF 2\n3\n", {}, "> ", ""},
    {"OffBeforeThePrompt", {"-i", "-e", "1 OFF"}, "2\n", {}, "", ""},
    {"InputWithoutPrompt", {}, "\"\" \"\" INPUT\nx\n" + end, {}, "> 1: \"x\"\n> \n", ""},
    // What a line leaves open is closed at its end, as ENTER closes it.
    {"LineClosedAtItsEnd", {}, "{ 1 \"a\n" + end, {}, "> 1: { 1 \"a\" }\n> \n", ""},
    // A line that fails to read runs nothing; the step limit counts each line apart.
    {"SyntaxAndStepLimit",
     {"--max-steps=3"},
     "1 (2\n1 2\n3 4 5 6\n7\n" + end,
     {},
     "> > 2: 1\n1: 2\n> 5: 1\n4: 2\n3: 3\n2: 4\n1: 5\n> 6: 1\n5: 2\n4: 3\n3: 4\n2: 5\n1: 7\n> \n",
     "rplrun: -:1:3: Error: Invalid Syntax\nrplrun: -:3:7: Interrupted\n"},
};

void PrintTo(const Dialogue& d, std::ostream* os) { *os << d.name; }

// The output with each {{RPL}} replaced by the display drawn after RPL runs.
std::string with_pictures(std::string out) {
  for (std::size_t at; (at = out.find("{{")) != std::string::npos;) {
    const std::size_t close = out.find("}}", at);
    const std::string rpl = out.substr(at + 2, close - at - 2);
    const std::string shown = harness::run(rplrun_invocation({"--show", "-q", "-e", rpl})).out;
    out.replace(at, close + 2 - at, shown.substr(shown.find("\u250c")));
  }
  return out;
}

class Interactive : public testing::TestWithParam<Dialogue> {};

TEST_P(Interactive, Dialogue) {
  const Dialogue& d = GetParam();
  Invocation inv = rplrun_invocation(d.args);
  inv.stdin_kind = Stream::terminal;
  inv.stdin_data = d.typed;
  inv.replies = d.replies;
  inv.timeout_seconds = 20;
  const harness::Outcome got = harness::run(inv);
  ASSERT_FALSE(got.timed_out) << "out: " << got.out << "\nerr: " << got.err;
  harness::expect_outcome(got, with_pictures(d.out), d.err, 0);
}

INSTANTIATE_TEST_SUITE_P(Terminal, Interactive, testing::ValuesIn(dialogues),
                         [](const testing::TestParamInfo<Dialogue>& info) {
                           return std::string(info.param.name);
                         });

// With standard output at the terminal too, lines are edited (libedit) and kept in
// ~/.rplrun_history: a second session recalls the first one's line with Ctrl-P.
TEST(Interactive, HistoryOfTheLastSession) {
  const std::string home = harness::make_temp_dir();
  const auto session = [&](const std::string& typed) {
    Invocation inv = rplrun_invocation();
    inv.stdin_kind = Stream::terminal;
    inv.stdout_kind = Stream::terminal;
    inv.environment = {{"HOME", home}, {"TERM", "dumb"}};
    inv.replies = {{"> ", typed, true}, {"42\r\n> ", end, true}};
    inv.timeout_seconds = 20;
    return harness::run(inv);
  };
  const harness::Outcome first = session("6 7 *\r");
  ASSERT_FALSE(first.timed_out) << first.out;
  EXPECT_NE(first.out.find("1: 42"), std::string::npos) << first.out;
  EXPECT_NE(harness::read_file(home + "/.rplrun_history").find("6\\0407\\040*"), std::string::npos);
  const std::string ctrl_p = "\x10";
  const harness::Outcome second = session(ctrl_p + "\r");
  ASSERT_FALSE(second.timed_out) << second.out;
  EXPECT_NE(second.out.find("1: 42"), std::string::npos) << second.out;
  EXPECT_EQ(second.status, 0);
  std::filesystem::remove_all(home);
}

}  // namespace
