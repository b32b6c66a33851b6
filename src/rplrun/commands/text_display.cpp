// Text display: DISP MSGBOX PROMPT CLLCD FREEZE BEEP. Text goes to the terminal as
// lines; nothing waits.
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

void nothing(Machine&, const Args&) {}

void beep(Machine&, const Args& a) {
  real_arg(a[2]);
  real_arg(a[1]);
}

void freeze(Machine&, const Args& a) { real_arg(a[1]); }

constexpr CommandRow rows[] = {
    {"DISP", 2, disp},     {"MSGBOX", 1, msgbox}, {"PROMPT", 1, prompt},
    {"CLLCD", 0, nothing}, {"FREEZE", 1, freeze}, {"BEEP", 2, beep},
};

}  // namespace

std::span<const CommandRow> text_display_commands() { return rows; }

}  // namespace rplrun
