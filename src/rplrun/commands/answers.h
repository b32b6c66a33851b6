// Answers for the commands that wait for the user (INPUT, CHOOSE, INFORM, WAIT, KEY):
// the next --input line, or else, in interactive mode, a line typed at the terminal.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "machine/machine.h"

namespace rplrun {

enum class Asked {
  answered,
  missing,      // no --input line left, no terminal: the command halts
  cancelled,    // Ctrl-D at the terminal
  interrupted,  // Ctrl-C at the terminal
};

// Takes an answer's text: empty when it does, else what it expected instead.
using AnswerTaker = std::function<std::string(const std::string& text)>;

// Asks for an answer until `take` takes one. At the terminal the `question` lines and
// the prompt are shown first, and a line refused is said so and asked again; an --input
// line refused ends the run (Machine::reject_answer).
Asked ask(Machine& m, const std::vector<std::string>& question, const std::string& prompt,
          const AnswerTaker& take);

// The same without waiting (KEY): the next --input line, or at the terminal a line
// typed already, once; a line refused there is said so. `missing` when there is none.
Asked ask_without_waiting(Machine& m, const AnswerTaker& take);

// The objects of an answer read as a command line is read; none when it does not read.
std::optional<std::vector<Object>> read_answer(Machine& m, const std::string& text);

}  // namespace rplrun
