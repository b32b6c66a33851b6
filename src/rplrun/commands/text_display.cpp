// Text display: DISP MSGBOX PROMPT INPUT CLLCD FREEZE BEEP WAIT. Text goes to the
// terminal as lines; nothing waits.
#include "commands/alarms.h"
#include "commands/support.h"
#include "objects/display.h"

namespace rplrun {

namespace {

std::string text_of(Machine& m, const Object& x) {
  return x.is(Kind::string) ? x.as_string() : show(x, m.flags);
}

void show_line(Machine& m, const std::string& text) {
  if (m.terminal.show) m.terminal.show(text);
}

void disp(Machine& m, const Args& a) {
  real_arg(a[1]);
  show_line(m, text_of(m, a[2]));
}

void msgbox(Machine& m, const Args& a) { show_line(m, string_arg(a[1])); }

void prompt(Machine& m, const Args& a) {
  show_line(m, text_of(m, a[1]));
  m.halt();
}

// INPUT: the next line of input, as a string; at a terminal, the line typed after the
// prompt. Without a line the run ends: halted, or interrupted at a terminal (where the
// calculator's ATTN cancels the program).
void input(Machine& m, const Args& a) {
  const std::string& prompt = string_arg(a[2]);
  if (!a[1].is(Kind::string) && !a[1].is(Kind::list)) fail(bad_argument_type);
  std::optional<std::string> line;
  if (!m.terminal.input.empty()) {
    line = std::move(m.terminal.input.front());
    m.terminal.input.pop_front();
  } else if (m.terminal.read_line) {
    line = m.terminal.read_line(prompt);
    if (!line) m.stop(Outcome::Status::interrupted);
  }
  if (!line) {
    m.push(a[2]);
    m.push(a[1]);
    m.halt();
  }
  m.push(Object::string(std::move(*line)));
}

void nothing(Machine&, const Args&) {}

void beep(Machine&, const Args& a) {
  real_arg(a[2]);
  real_arg(a[1]);
}

void freeze(Machine&, const Args& a) { real_arg(a[1]); }

// WAIT x > 0 returns at once, the fixed clock moved on by x seconds; WAIT 0 waits for a
// key, which only an input line can give.
void wait(Machine& m, const Args& a) {
  const Real x = real_arg(a[1]);
  if (x.sign() <= 0) m.halt();
  wait_on_clock(m, x);
}

constexpr CommandRow rows[] = {
    {"DISP", 2, disp},     {"MSGBOX", 1, msgbox}, {"PROMPT", 1, prompt}, {"INPUT", 2, input},
    {"CLLCD", 0, nothing}, {"FREEZE", 1, freeze}, {"BEEP", 2, beep},     {"WAIT", 1, wait},
};

}  // namespace

std::span<const CommandRow> text_display_commands() { return rows; }

}  // namespace rplrun
