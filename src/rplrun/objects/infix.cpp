// Algebraics printed back in infix with only the parentheses needed.
//
// One pass over the postfix items finds where each item's operands begin; the text is
// then written from the root down, in order. Nothing is assembled and copied, and a
// printer that wants only the beginning (a trace line) stops there.
#include <algorithm>
#include <cstdint>

#include "objects/algebraic.h"
#include "objects/command_registry.h"
#include "objects/symbolic.h"
#include "objects/unit.h"

namespace rplrun {

namespace {

class Infix {
 public:
  Infix(std::span<const Object> postfix, const DisplayMode& mode, const KnownPiece* known = nullptr)
      : items_(postfix), mode_(mode), separator_(mode.fraction_mark == ',' ? ";" : ",") {
    if (known) {
      // The known run becomes one item that takes no operands.
      const auto from = postfix.begin() + static_cast<std::ptrdiff_t>(known->from);
      shortened_.assign(postfix.begin(), from);
      shortened_.emplace_back();
      shortened_.insert(shortened_.end(), from + static_cast<std::ptrdiff_t>(known->count),
                        postfix.end());
      items_ = shortened_;
      known_ = known;
      known_index_ = known->from;
    }
    // An item with too few pieces before it takes them all; the missing ones print as ?.
    start_.resize(items_.size());
    for (std::uint32_t i = 0; i < items_.size(); ++i) {
      const std::size_t wanted = i == known_index_ ? 0 : operand_count(items_[i]);
      const std::size_t taken = std::min(wanted, roots_.size());
      complete_ = complete_ && taken == wanted;
      start_[i] = taken == 0 ? i : start_[roots_[roots_.size() - taken]];
      roots_.resize(roots_.size() - taken);
      roots_.push_back(i);
    }
  }

  // The pieces left at the end, a blank between them: one for a well-formed algebraic.
  void write(TextSink& out) {
    for (std::size_t k = roots_.size(); k-- > 0;) {
      if (k + 1 < roots_.size()) tasks_.push_back(literal(blank));
      tasks_.push_back({Task::Kind::node, roots_[k]});
    }
    run(out);
  }

  // As one part of a larger algebraic: one piece with its own binding strength, or
  // several (or none) as one whole.
  std::uint8_t whole_precedence() const {
    return roots_.size() == 1 ? precedence(roots_.front()) : std::uint8_t{prec_atom};
  }

  // One piece, every operand there.
  bool well_formed() const { return complete_ && roots_.size() == 1; }

 private:
  // What is left to write: small, as a deep algebraic has many of them pending.
  struct Task {
    enum class Kind : std::uint8_t { node, parenthesized_node, name, literal, missing } kind;
    std::uint32_t value;  // node, name: an item; literal: one of `literals`
  };
  enum Literal : std::uint32_t { blank, open, close, not_word, minus, equals, separator };
  static constexpr std::string_view literals[] = {" ", "(", ")", "NOT ", "-", "="};
  static Task literal(Literal which) { return {Task::Kind::literal, which}; }
  static Task name(std::uint32_t item) { return {Task::Kind::name, item}; }

  // The roots of the operands of item i in order, -1 for each missing one, into `args`.
  void operands(std::uint32_t i, std::vector<std::int64_t>& args) const {
    args.assign(operand_count(items_[i]), -1);
    std::size_t k = args.size();
    for (std::int64_t c = static_cast<std::int64_t>(i) - 1; c >= start_[i] && k > 0;
         c = static_cast<std::int64_t>(start_[static_cast<std::size_t>(c)]) - 1)
      args[--k] = c;
  }

  std::uint8_t precedence(std::int64_t i) const {
    if (i < 0) return prec_atom;
    if (static_cast<std::size_t>(i) == known_index_) return known_->precedence;
    const Object& item = items_[static_cast<std::size_t>(i)];
    switch (item.kind()) {
      case Kind::real: return item.as_real().is_negative() ? prec_negate : prec_atom;
      case Kind::algebraic: return Infix(item.items(), mode_).whole_precedence();
      case Kind::unit: {
        // 1_m/s binds as a product, 1_m as a negation: (1_m)^2 is no unit 1_m^2.
        const UnitFactors& factors = unit_of(item).factors;
        if (factors.size() > 1 || factors[0].power.is_negative()) return prec_product;
        return prec_negate;
      }
      case Kind::command: {
        const Algebra& a = command_info(item.command_id()).algebra;
        switch (a.notation) {
          case Notation::infix: return a.precedence;
          case Notation::prefix:
            if (a.precedence == prec_not || a.precedence == prec_postfix) return a.precedence;
            return prec_negate;
          case Notation::postfix: return prec_postfix;
          default: return prec_atom;
        }
      }
      default: return prec_atom;
    }
  }

  // Operand `i` (-1: missing), in parentheses when it binds less tightly than its place
  // wants.
  static Task operand(std::int64_t i, bool parenthesized) {
    if (i < 0) return {Task::Kind::missing, 0};
    return {parenthesized ? Task::Kind::parenthesized_node : Task::Kind::node,
            static_cast<std::uint32_t>(i)};
  }

  // The parts of item i, in the order they are written.
  void expand(std::uint32_t i, std::vector<Task>& parts) {
    const Object& item = items_[i];
    std::vector<std::int64_t>& args = args_;
    operands(i, args);
    if (item.is(Kind::call)) {
      function(i, args, parts);
      return;
    }
    const Algebra& a = command_info(item.command_id()).algebra;
    switch (a.notation) {
      case Notation::infix: {
        parts.push_back(
            operand(args[0], precedence(args[0]) < a.precedence && !leading_where(args[0])));
        const char first = command_info(item.command_id()).name[0];
        const bool spaced = first >= 'A' && first <= 'Z';  // AND, MOD...
        if (spaced) parts.push_back(literal(blank));
        parts.push_back(name(i));
        if (spaced) parts.push_back(literal(blank));
        parts.push_back(operand(args[1], precedence(args[1]) <= a.precedence));
        return;
      }
      case Notation::prefix:
        if (a.precedence == prec_not) {
          parts.push_back(literal(not_word));
          parts.push_back(operand(args[0], precedence(args[0]) < prec_not));
        } else if (a.precedence == prec_postfix) {
          parts.push_back(name(i));
          parts.push_back(operand(args[0], precedence(args[0]) < prec_postfix));
        } else {
          parts.push_back(literal(minus));
          parts.push_back(operand(args[0], precedence(args[0]) <= prec_negate));
        }
        return;
      case Notation::postfix:
        parts.push_back(operand(args[0], precedence(args[0]) < prec_postfix));
        parts.push_back(name(i));
        return;
      case Notation::function:
        if (item.command_id() == cmd::derivative || item.command_id() == cmd::summation) {
          calculus(i, args, parts);
          return;
        }
        if (a.arity == 0) {
          parts.push_back(name(i));
          return;
        }
        if (a.reversed) std::reverse(args.begin(), args.end());
        function(i, args, parts);
        return;
      case Notation::none:
      case Notation::kept: parts.push_back(name(i)); return;
    }
  }

  // A where that begins the text needs no parentheses as a left operand: the reader
  // takes F|(X=1)-G as (F|(X=1))-G.
  bool leading_where(std::int64_t i) const {
    if (i < 0 || start_[static_cast<std::size_t>(i)] != 0) return false;
    const Object& item = items_[static_cast<std::size_t>(i)];
    return item.is(Kind::command) && item.command_id() == cmd::where;
  }

  // \.dX(f) and \GS(I=lo,hi,f).
  static void calculus(std::uint32_t i, const std::vector<std::int64_t>& args,
                       std::vector<Task>& parts) {
    parts.push_back(name(i));
    if (args.size() == 2) {
      parts.push_back(operand(args[1], false));
      parts.push_back(literal(open));
      parts.push_back(operand(args[0], false));
      parts.push_back(literal(close));
      return;
    }
    parts.push_back(literal(open));
    parts.push_back(operand(args[0], false));
    parts.push_back(literal(equals));
    parts.push_back(operand(args[1], false));
    for (std::size_t k = 2; k < args.size(); ++k) {
      parts.push_back(literal(separator));
      parts.push_back(operand(args[k], false));
    }
    parts.push_back(literal(close));
  }

  // NAME(a,b,...)
  static void function(std::uint32_t i, const std::vector<std::int64_t>& args,
                       std::vector<Task>& parts) {
    parts.push_back(name(i));
    parts.push_back(literal(open));
    for (std::size_t k = 0; k < args.size(); ++k) {
      if (k) parts.push_back(literal(separator));
      parts.push_back(operand(args[k], false));
    }
    parts.push_back(literal(close));
  }

  std::string_view name_of(std::uint32_t i) const {
    const Object& item = items_[i];
    if (item.is(Kind::call)) return item.symbol()->text();
    return command_info(item.command_id()).name;
  }

  // An item that takes no operands, written whole.
  void write_leaf(const Object& item, TextSink& out) const {
    switch (item.kind()) {
      case Kind::real: out.put(format_real(item.as_real(), mode_)); return;
      case Kind::complex: out.put(format_complex(item.as_complex(), mode_)); return;
      case Kind::name: out.put(item.symbol()->text()); return;
      case Kind::algebraic: Infix(item.items(), mode_).write(out); return;
      case Kind::list: write_bindings(item, out); return;
      case Kind::unit: {
        std::string text;
        append_real(text, unit_of(item).value, mode_);
        text += '_';
        append_unit_expression(text, unit_of(item).factors, mode_.fraction_mark);
        out.put(text);
        return;
      }
      default: out.put("?"); return;
    }
  }

  // The bindings of |: (X=1,Y=2).
  void write_bindings(const Object& list, TextSink& out) const {
    const auto& items = list.items();
    out.put("(");
    for (std::size_t k = 0; k + 1 < items.size() && !out.full(); k += 2) {
      if (k) out.put(separator_);
      write_whole(items[k], out);
      out.put("=");
      write_whole(items[k + 1], out);
    }
    out.put(")");
  }

  void write_whole(const Object& object, TextSink& out) const {
    switch (object.kind()) {
      case Kind::real:
      case Kind::complex:
      case Kind::name:
      case Kind::unit:
      case Kind::algebraic: write_leaf(object, out); return;
      default: out.put("?"); return;
    }
  }

  void run(TextSink& out) {
    std::vector<Task> parts;
    while (!tasks_.empty() && !out.full()) {
      const Task task = tasks_.back();
      tasks_.pop_back();
      switch (task.kind) {
        case Task::Kind::literal:
          out.put(task.value == separator ? separator_ : literals[task.value]);
          continue;
        case Task::Kind::name: out.put(name_of(task.value)); continue;
        case Task::Kind::missing: out.put("?"); continue;
        case Task::Kind::node:
        case Task::Kind::parenthesized_node: break;
      }
      const bool parenthesized = task.kind == Task::Kind::parenthesized_node;
      const Object& item = items_[task.value];
      if (task.value == known_index_ || (!item.is(Kind::command) && !item.is(Kind::call))) {
        if (parenthesized) out.put("(");
        if (task.value == known_index_)
          out.put(known_->text);
        else
          write_leaf(item, out);
        if (parenthesized) out.put(")");
        continue;
      }
      parts.clear();
      if (parenthesized) parts.push_back(literal(open));
      expand(task.value, parts);
      if (parenthesized) parts.push_back(literal(close));
      tasks_.insert(tasks_.end(), parts.rbegin(), parts.rend());
    }
  }

  std::span<const Object> items_;
  std::vector<Object> shortened_;  // the items with a known run as one
  const KnownPiece* known_ = nullptr;
  std::size_t known_index_ = SIZE_MAX;
  bool complete_ = true;  // no item lacked an operand
  const DisplayMode& mode_;
  std::string_view separator_;
  std::vector<std::uint32_t> start_;  // where the operands of each item begin
  std::vector<std::uint32_t> roots_;  // the pieces at the end
  std::vector<Task> tasks_;           // what is left to write, the next last
  std::vector<std::int64_t> args_;    // the operands of the item being expanded
};

}  // namespace

void append_infix(TextSink& out, std::span<const Object> postfix, const DisplayMode& mode) {
  Infix(postfix, mode).write(out);
}

InfixShape append_infix(TextSink& out, std::span<const Object> postfix, const DisplayMode& mode,
                        const KnownPiece& known) {
  Infix infix(postfix, mode, &known);
  infix.write(out);
  return {infix.whole_precedence(), infix.well_formed()};
}

InfixShape infix_shape(std::span<const Object> postfix, const DisplayMode& mode) {
  const Infix infix(postfix, mode);
  return {infix.whole_precedence(), infix.well_formed()};
}

}  // namespace rplrun
