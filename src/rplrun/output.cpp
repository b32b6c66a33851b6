#include "output.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "machine/machine.h"
#include "objects/display.h"

namespace rplrun {

namespace {
// How much of an HP text is encoded at a time: its encoding takes up to four times that.
constexpr std::size_t piece = std::size_t{1} << 16;
}  // namespace

bool Output::check() {
  if (error_ == 0 && std::ferror(stdout)) error_ = errno != 0 ? errno : EIO;
  return error_ == 0;
}

bool Output::write(std::string_view hp_text, LineBreaks breaks) {
  while (!hp_text.empty() && !failed()) {
    const std::string_view part = hp_text.substr(0, piece);
    hp_text.remove_prefix(part.size());
    const std::string encoded = encode(part, charset_, breaks);
    errno = 0;
    std::fwrite(encoded.data(), 1, encoded.size(), stdout);
    check();
  }
  return !failed();
}

bool Output::write_utf8(std::string_view text) {
  if (failed()) return false;
  errno = 0;
  std::fwrite(text.data(), 1, text.size(), stdout);
  return check();
}

bool Output::flush() {
  if (failed()) return false;
  errno = 0;
  std::fflush(stdout);
  return check();
}

OutputSink::OutputSink(Output& output) : TextSink(piece), output_(output) {}

void OutputSink::overflow() {
  if (!output_.write(text_, LineBreaks::blank)) full_ = true;
  text_.clear();
}

void OutputSink::end_line() {
  overflow();
  if (!output_.write("\n", LineBreaks::kept)) full_ = true;
}

void OutputSink::finish() { overflow(); }

void write_stack(const Machine& machine, bool top_only, TextSink& out) {
  const auto& stack = machine.stack();
  if (top_only) {
    if (!stack.empty()) {
      append_object(out, stack.back(), machine.flags, true);
      out.end_line();
    }
    return;
  }
  for (std::size_t i = 0; i < stack.size() && !out.full(); ++i) {
    out.text() += std::to_string(stack.size() - i);
    out.text() += ": ";
    append_object(out, stack[i], machine.flags, true);
    out.end_line();
  }
}

}  // namespace rplrun
