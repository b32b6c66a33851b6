// Text display: DISP MSGBOX PROMPT CLLCD FREEZE BEEP. The text goes to the terminal as
// lines and is drawn on the text screen in the medium font; nothing waits.
#include <algorithm>

#include "commands/support.h"
#include "objects/display.h"
#include "objects/font.h"

namespace rplrun {

namespace {

// The text screen's lines: seven of 22 characters, 8 pixel rows each, over the menu row.
constexpr std::size_t line_count = 7;
constexpr std::size_t line_width = 22;
constexpr std::int64_t line_height = 8;

std::string text_of(Machine& m, const Object& x) {
  return x.is(Kind::string) ? x.as_string() : show(x, m.flags);
}

void show_line(Machine& m, const std::string& text) {
  if (m.terminal.show) m.terminal.show(text);
}

// The first `count` lines of the text cut into lines of at most `width` characters; a
// newline starts a new one. `at_blanks`: a line too long is cut after its last blank
// when it has one.
std::vector<std::string> wrapped(const std::string& text, std::size_t width, std::size_t count,
                                 bool at_blanks = false) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (lines.size() < count) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    do {
      std::size_t length = std::min(width, end - start);
      if (at_blanks && start + length < end) {
        const std::size_t blank = text.rfind(' ', start + length);
        if (blank != std::string::npos && blank > start) length = blank + 1 - start;
      }
      lines.push_back(text.substr(start, length));
      start += length;
    } while (start < end && lines.size() < count);
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

void light_rows(Grob& grob, std::int64_t top, std::int64_t rows) {
  for (std::int64_t y = top; y < top + rows; ++y) {
    for (std::size_t x = 0; x < grob.width; ++x) grob.set(static_cast<std::int64_t>(x), y, false);
  }
}

// DISP: line n (1 to 7) and the ones below it as the text needs, each cleared first.
void disp(Machine& m, const Args& a) {
  const Real n = real_arg(a[1]);
  const std::string text = text_of(m, a[2]);
  const std::int64_t first = n < Real::from_int64(1)   ? 1
                             : n > Real::from_int64(7) ? 7
                                                       : n.int64_toward_zero();
  const Font& medium = font(FontSize::medium);
  Grob& screen = m.screen.draw_on_text();
  auto line = first;
  const auto count = static_cast<std::size_t>(static_cast<std::int64_t>(line_count) + 1 - first);
  for (const std::string& part : wrapped(text, line_width, count)) {
    light_rows(screen, (line - 1) * line_height, line_height);
    draw_text(screen, 0, (line - 1) * line_height, part, medium);
    ++line;
  }
  m.screen.frame_done();
  show_line(m, text);
}

// MSGBOX: the message in a framed box with a shadow, centred above the menu row.
void msgbox(Machine& m, const Args& a) {
  constexpr std::size_t box_width = 15;
  const std::string& text = string_arg(a[1]);
  const std::vector<std::string> lines = wrapped(text, box_width, 5, true);
  std::size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const Font& medium = font(FontSize::medium);
  const auto w = static_cast<std::int64_t>(longest * medium.width) + 8;
  const auto h = static_cast<std::int64_t>(lines.size()) * line_height + 8;
  const std::int64_t left = (static_cast<std::int64_t>(display_width) - w) / 2;
  const std::int64_t top = (56 - h) / 2;
  Grob& screen = m.screen.draw_on_text();
  Grob inside(static_cast<std::size_t>(w), static_cast<std::size_t>(h));
  blend(screen, inside, {left, top}, Blend::replace);
  draw_box(screen, {left, top}, {left + w - 1, top + h - 1}, Ink::dark);
  draw_line(screen, {left + 1, top + h}, {left + w, top + h}, Ink::dark);
  draw_line(screen, {left + w, top + 1}, {left + w, top + h}, Ink::dark);
  for (std::size_t k = 0; k < lines.size(); ++k)
    draw_text(screen, left + 4, top + 4 + static_cast<std::int64_t>(k) * line_height, lines[k],
              medium);
  m.screen.frame_done();
  show_line(m, text);
}

// PROMPT: the text in the status area (the screen's first two lines), then a halt.
void prompt(Machine& m, const Args& a) {
  const std::string text = text_of(m, a[1]);
  const std::vector<std::string> lines = wrapped(text, line_width, 2);
  Grob& screen = m.screen.draw_on_text();
  light_rows(screen, 0, 2 * line_height);
  for (std::size_t k = 0; k < lines.size(); ++k)
    draw_text(screen, 0, static_cast<std::int64_t>(k) * line_height, lines[k],
              font(FontSize::medium));
  m.screen.frame_done();
  show_line(m, text);
  m.halt();
}

void clear_screen(Machine& m, const Args&) {
  Grob& screen = m.screen.draw_on_text();
  screen = Grob(screen.width, screen.height);
}

void beep(Machine&, const Args& a) {
  real_arg(a[2]);
  real_arg(a[1]);
}

// FREEZE: what the user sees now stays after the program ends, as one frame shown.
void freeze(Machine& m, const Args& a) {
  real_arg(a[1]);
  m.screen.frame_done();
}

constexpr CommandRow rows[] = {
    {"DISP", 2, disp},          {"MSGBOX", 1, msgbox}, {"PROMPT", 1, prompt},
    {"CLLCD", 0, clear_screen}, {"FREEZE", 1, freeze}, {"BEEP", 2, beep},
};

}  // namespace

std::span<const CommandRow> text_display_commands() { return rows; }

}  // namespace rplrun
