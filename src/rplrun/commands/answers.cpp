#include "commands/answers.h"

#include "objects/reader.h"
#include "objects/transfer.h"

namespace rplrun {

namespace {

std::string refusal(const std::string& text, const std::string& why) {
  return "bad answer \"" + text + "\": " + why;
}

// The next --input line taken, if there is one; one that `take` refuses ends the run.
bool take_input(Machine& m, const AnswerTaker& take) {
  std::optional<Answer> answer = m.terminal.take_input();
  if (!answer) return false;
  const std::string why = take(answer->text);
  if (!why.empty()) m.reject_answer(*answer, refusal(answer->text, why));
  return true;
}

// A line typed at the terminal, taken or said to be refused.
bool take_typed(Machine& m, const std::string& line, const AnswerTaker& take) {
  const std::string why = take(line);
  if (why.empty()) return true;
  if (m.terminal.show) m.terminal.show(refusal(line, why));
  return false;
}

}  // namespace

Asked ask(Machine& m, const std::vector<std::string>& question, const std::string& prompt,
          const AnswerTaker& take) {
  if (take_input(m, take)) return Asked::answered;
  if (!m.terminal.read_line) return Asked::missing;
  if (m.terminal.show) {
    for (const std::string& line : question) m.terminal.show(line);
  }
  for (;;) {
    std::string line;
    switch (m.terminal.read_line(prompt, line)) {
      case Terminal::Typed::interrupted: return Asked::interrupted;
      case Terminal::Typed::end: return Asked::cancelled;
      case Terminal::Typed::line: break;
    }
    if (take_typed(m, line, take)) return Asked::answered;
  }
}

Asked ask_without_waiting(Machine& m, const AnswerTaker& take) {
  if (take_input(m, take)) return Asked::answered;
  if (!m.terminal.line_ready || !m.terminal.line_ready()) return Asked::missing;
  std::string line;
  if (m.terminal.read_line("", line) == Terminal::Typed::line && take_typed(m, line, take))
    return Asked::answered;
  return Asked::missing;
}

std::optional<std::vector<Object>> read_answer(Machine& m, const std::string& text) {
  static const std::uint32_t source = register_source("answer");
  try {
    SourceText line = load_command_line(source, text);
    line.fraction_mark = m.flags.fraction_mark();
    const Object body =
        read_program_body(line, ReadContext{m.flags.angle_mode(), m.flags.binary_base()});
    return std::vector<Object>(body.items().begin(), body.items().end());
  } catch (const SyntaxError&) {
    return std::nullopt;
  }
}

}  // namespace rplrun
