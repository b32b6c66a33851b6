#include "compiler_messages.h"

#include <algorithm>
#include <cstdio>

namespace rplrun {

namespace {

bool is_control(unsigned char c) { return (c < 32 && c != '\t') || c == 127; }
bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Text from the source goes to the terminal without control characters, which
// could move the cursor or forge lines: each becomes a blank (in the source line,
// so that the caret stays under its character) or a '?' (in a message).
std::string shown(std::string_view text, char instead) {
  std::string out(text);
  for (char& c : out) {
    if (is_control(static_cast<unsigned char>(c))) c = instead;
  }
  return out;
}

}  // namespace

void report_compiler_message(const std::string& where, std::string_view kind,
                             std::string_view message, std::string_view source,
                             std::size_t offset) {
  offset = std::min(offset, source.size());
  const std::size_t newline = offset == 0 ? std::string_view::npos : source.rfind('\n', offset - 1);
  const std::size_t start = newline == std::string_view::npos ? 0 : newline + 1;
  std::size_t stop = source.find('\n', start);
  if (stop == std::string_view::npos) stop = source.size();
  std::string_view line = source.substr(start, stop - start);
  // The carriage return of a CR LF line end is not shown, as a terminal would not.
  if (line.ends_with('\r') && offset < start + line.size() - 1) line.remove_suffix(1);
  // Under each character before the caret: a tab where the line has one, else a blank.
  std::string caret;
  for (const char c : line.substr(0, offset - start)) {
    if (c == '\t') {
      caret += '\t';
    } else if (!is_continuation(static_cast<unsigned char>(c))) {
      caret += ' ';
    }
  }
  caret += '^';
  const std::string text = where + ": " + std::string(kind) + ": " + shown(message, '?') + "\n" +
                           shown(line, ' ') + "\n" + caret + "\n";
  std::fflush(stdout);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::size_t offset_of(std::string_view source, std::size_t line, std::size_t column) {
  std::size_t start = 0;
  for (std::size_t n = 1; n < line; ++n) {
    const std::size_t newline = source.find('\n', start);
    if (newline == std::string_view::npos) return source.size();
    start = newline + 1;
  }
  return std::min(source.size(), start + (column > 0 ? column - 1 : 0));
}

}  // namespace rplrun
