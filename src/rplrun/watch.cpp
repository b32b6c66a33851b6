#include "watch.h"

#include <memory>
#include <new>
#include <set>
#include <tuple>

#include "machine/machine.h"
#include "objects/algebraic.h"
#include "objects/command_registry.h"
#include "objects/display.h"
#include "report.h"

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

namespace {

// Trace lines show the same algebraic again and again while a loop grows it in place:
// its brief form is kept, and the next one is written from it and the items added
// since, so that tracing such a loop stays linear.
class AlgebraicBriefs {
 public:
  std::string brief(const Object& x, const Flags& flags, std::size_t width = 40) {
    const DisplayMode mode = flags.display_mode();
    const auto& node = x.node_as<SequenceNode>();
    const Extent now = extent_of(x);
    CutSink out(width);
    InfixShape shape{};
    Entry* entry = find(x, mode);
    if (entry && entry->extent.length <= now.length && entry->extent.prepended <= now.prepended) {
      const KnownPiece known{now.prepended - entry->extent.prepended, entry->extent.length,
                             entry->text, entry->precedence};
      shape = append_infix(out, node.items(), mode, known);
    } else {
      shape = infix_shape(node.items(), mode);
      append_infix(out, node.items(), mode);
      if (!entry) {
        if (entries_.size() == kept) entries_.pop_back();
        entries_.insert(entries_.begin(), Entry{});
        entry = &entries_.front();
      }
    }
    // Only a piece that stays one whatever is put around it can stand for its items.
    if (shape.well_formed) {
      *entry = Entry{x.shared_node(), now, mode, out.text(), shape.precedence};
    } else {
      entry->node.reset();
    }
    std::string text = "'" + out.text() + "'";
    if (text.size() > width) {
      text.resize(width - 3);
      text += "...";
    }
    return text;
  }

 private:
  struct Entry {
    std::weak_ptr<const Node> node;
    Extent extent;
    DisplayMode mode;
    std::string text;  // the infix form's beginning, as much as a line shows
    std::uint8_t precedence = 0;
  };
  static constexpr std::size_t kept = 8;

  Entry* find(const Object& x, const DisplayMode& mode) {
    for (Entry& e : entries_) {
      const std::shared_ptr<const Node> held = e.node.lock();
      if (held && held.get() == x.node() && e.mode == mode) return &e;
    }
    return nullptr;
  }

  std::vector<Entry> entries_;  // the most recent first
};

}  // namespace

void watch_evaluation(Machine& machine, OutputCharset charset) {
  auto briefs = std::make_shared<AlgebraicBriefs>();
  const auto shown = [&machine, briefs](const Object& x, bool top_level) {
    return x.is(Kind::algebraic) ? briefs->brief(x, machine.flags)
                                 : brief(x, machine.flags, top_level);
  };
  machine.watchers.evaluated = [&machine, charset, shown](const Position& where,
                                                           const Object& item) {
    // What the trace costs never changes what the program does: a failure of its own
    // (memory) leaves the line out.
    try {
      std::string line = place(where) + shown(item, false) + "  =>";
      const std::size_t levels = std::min(traced_levels, machine.depth());
      if (levels == 0) line += "  (empty)";
      for (std::size_t n = levels; n >= 1; --n)
        line += "  " + std::to_string(n) + ": " + shown(machine.level(n), true);
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
