#include "commands/answers.h"

#include "objects/reader.h"
#include "objects/transfer.h"

namespace rplrun {

Asked ask(Machine& m, const std::vector<std::string>& question, const std::string& prompt,
          const AnswerTaker& take) {
  if (std::optional<Answer> answer = m.terminal.take_input()) {
    const std::string why = take(answer->text);
    if (!why.empty()) m.reject_answer(*answer, "bad answer \"" + answer->text + "\": " + why);
    return Asked::answered;
  }
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
    const std::string why = take(line);
    if (why.empty()) return Asked::answered;
    if (m.terminal.show) m.terminal.show("bad answer \"" + line + "\": " + why);
  }
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

std::string trim_blanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace rplrun
