#include "rplrun/watch.h"

#include <memory>
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
  std::string text;
  const bool sequence = object.is(Kind::list) || object.is(Kind::program);
  if (sequence && object.items().size() > width / 2) {
    text = object.is(Kind::list) ? "{" : "\xAB";
    for (const Object& item : object.items()) {
      if (text.size() > width) break;
      text += ' ';
      append_object(text, item, flags, false);
    }
  } else if (object.is(Kind::string) && object.as_string().size() > width) {
    text = '"' + object.as_string().substr(0, width);
  } else {
    text = decompile(object, flags, top_level);
  }
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (text.size() > width) {
    text.resize(width - 3);
    text += "...";
  }
  return text;
}

void watch_evaluation(Machine& machine, OutputCharset charset) {
  machine.watchers.evaluated = [&machine, charset](const Position& where, const Object& item) {
    std::string line = place(where) + brief(item, machine.flags, false) + "  =>";
    const std::size_t shown = std::min(traced_levels, machine.depth());
    if (shown == 0) line += "  (empty)";
    for (std::size_t n = shown; n >= 1; --n) {
      line += "  " + std::to_string(n) + ": " + brief(machine.level(n), machine.flags, true);
    }
    report(encode(line, charset));
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
    report(encode(line, charset));
  };
}

}  // namespace rplrun
