#include "rplrun/watch.h"

#include <memory>
#include <new>
#include <set>
#include <tuple>

#include "rplrun/commands/table.h"
#include "rplrun/display.h"
#include "rplrun/machine.h"
#include "rplrun/report.h"

namespace rplrun {

namespace {

// How many stack levels a trace line shows.
constexpr std::size_t traced_levels = 3;

std::string place(const Position& where) { return where.known() ? describe(where) + ": " : ""; }

}  // namespace

std::string brief(const Object& object, const Flags& flags, bool top_level, std::size_t width) {
  CutSink out(width);
  append_object(out, object, flags, top_level);
  std::string& text = out.text();
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (text.size() > width) {
    text.resize(width - 3);
    text += "...";
  }
  return std::move(text);
}

void watch_evaluation(Machine& machine, OutputCharset charset) {
  machine.watchers.evaluated = [&machine, charset](const Position& where, const Object& item) {
    // What the trace costs never changes what the program does: a failure of its own
    // (memory) leaves the line out.
    try {
      std::string line = place(where) + brief(item, machine.flags, false) + "  =>";
      const std::size_t shown = std::min(traced_levels, machine.depth());
      if (shown == 0) line += "  (empty)";
      for (std::size_t n = shown; n >= 1; --n) {
        line += "  " + std::to_string(n) + ": " + brief(machine.level(n), machine.flags, true);
      }
      report(encode(line, charset, LineBreaks::code));
    } catch (const std::bad_alloc&) {
    }
  };
}

void watch_undefined_names(Machine& machine, OutputCharset charset) {
  // Once for each place and name, however often a loop gets there.
  auto warned = std::make_shared<
      std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, const Symbol*>>>();
  machine.watchers.undefined_name = [warned, charset](const Position& where, const Object& name) {
    if (!warned->emplace(where.source, where.line, where.column, name.symbol()).second) return;
    const std::string& text = name.symbol()->text();
    std::string line = place(where) + "warning: '" + text + "' has no variable: pushed as a name";
    std::string upper = text;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (upper != text && find_command(upper)) line += " (the command is " + upper + ")";
    report(encode(line, charset, LineBreaks::code));
  };
}

}  // namespace rplrun
