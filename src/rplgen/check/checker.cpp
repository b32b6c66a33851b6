#include "rplgen/check/checker.h"

#include <algorithm>

#include "rplgen/check/syntax_errors.h"
#include "rplgen/parser/grammar.hpp"
#include "rplgen/translate/constants.h"
#include "support/origins.h"

namespace rplgen::check {

namespace {

bool is_keyable(int code) {
  switch (code) {
    case '!': case '%': case '&': case '*': case '+': case '-': case '/':
    case '<': case '=': case '>': case '?': case '^': case '|': case '~':
      return true;
    default:
      return (code >= ASSIGN && code <= WHILE) || (code >= RIGHT_ASSIGN && code <= NE_OP);
  }
}

bool is_constant(int token) {
  return token == NUMBER || token == ALGEBRAIC || token == VERBATIM || token == STRING ||
         token == RPL_PROGRAM;
}

int closer_of(int opener) {
  switch (opener) {
    case '(': case AT_LPAREN: return ')';
    case '[': case AT_LBRACKET: return ']';
    default: return '}';
  }
}

bool is_opener(int code) {
  return code == '(' || code == '[' || code == '{' || code == AT_LPAREN || code == AT_LBRACKET ||
         code == AT_LBRACE;
}

// Words that C programmers write as statements, which are plain names here.
std::string_view plain_word_effect(std::string_view word) {
  if (word == "break") return "it does not leave the loop";
  if (word == "continue") return "it does not go on with the next round of the loop";
  if (word == "return") return "it does not end the function";
  if (word == "goto") return "it jumps nowhere";
  return {};
}

std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

}  // namespace

Span Checker::token(int code, std::uint32_t begin, std::uint32_t end) {
  Span span;
  if (code == 0) {
    span.begin = span.end = span.key = last_end_;
    return span;
  }
  span.begin = span.key = begin;
  span.end = end;
  span.token = code;
  if (is_keyable(code)) span.facts |= keyable;
  if (is_opener(code)) {
    open_brackets_.push_back(span);
  } else if ((code == ')' || code == ']' || code == '}') && !open_brackets_.empty() &&
             closer_of(open_brackets_.back().token) == code) {
    open_brackets_.pop_back();
  }
  previous_ = last_;
  last_ = span;
  last_end_ = end;
  return span;
}

Span Checker::reduce(Construct construct, const Span* rhs, int n) {
  Span span;
  if (n == 0) {
    span.begin = span.end = span.key = rhs[0].end;
  } else if (n == 1) {
    span = rhs[1];
  } else {
    span.begin = rhs[1].begin;
    span.end = rhs[n].end;
    span.key = span.begin;
    for (int i = 1; i <= n; ++i) {
      if (rhs[i].facts & keyable) {
        span.key = rhs[i].key;
        break;
      }
    }
  }
  rpl::set_origin(span.key);
  switch (construct) {
    case Construct::other: break;
    case Construct::name: break;
    case Construct::constant:
      if (span.token == RPL_PROGRAM) check_program_literal(span);
      break;
    case Construct::parenthesis:
      span.facts = rhs[2].facts & leaves_nothing;
      span.nothing_at = rhs[2].nothing_at;
      break;
    case Construct::factorial: use_value(rhs[2]); break;
    case Construct::vector_literal:
      check_items(rhs[2], "@[...]");
      span.facts |= composite;
      break;
    case Construct::list_literal:
      check_items(rhs[2], "@{...}");
      span.facts |= composite;
      break;
    case Construct::empty_list: span.facts |= composite; break;
    case Construct::complex_literal:
      check_item(rhs[2], "@(...)");
      check_item(rhs[4], "@(...)");
      span.facts |= composite;
      break;
    case Construct::first_item:
      span.token = 0;
      span.facts = 0;
      lists_.push_back({rhs[1]});
      span.items = static_cast<std::uint32_t>(lists_.size());
      break;
    case Construct::next_item:
      span.items = rhs[1].items;
      lists_[span.items - 1].push_back(rhs[3]);
      break;
    case Construct::index:
      use_value(rhs[1]);
      use_value(rhs[3]);
      break;
    case Construct::call:
      if (n == 4) {
        for (const Span& argument : lists_[rhs[3].items - 1]) use_value(argument);
      }
      if (rhs[1].token == IDENTIFIER) {
        std::string name = name_of(rhs[1]);
        if (!check_plain_word(name, rhs[1].begin)) calls_.push_back({std::move(name), rhs[1].begin});
      }
      break;
    case Construct::postfix_step:
      define(rhs[1], true);
      span.facts |= leaves_nothing;
      span.nothing_at = rhs[2].begin;
      break;
    case Construct::prefix_step:
      define(rhs[2], true);
      span.facts |= leaves_nothing;
      span.nothing_at = rhs[1].begin;
      break;
    case Construct::unary_plus:
    case Construct::logical_not: use_value(rhs[2]); break;
    case Construct::negation:
      use_value(rhs[2]);
      span.facts |= negated;
      if (rhs[2].token == NUMBER) span.facts |= negative_number;
      break;
    case Construct::binary: {
      const int op = rhs[2].token;
      use_value(rhs[1]);
      use_value(rhs[3]);
      if (op == POW_OP && (rhs[1].facts & negated)) {
        warn(rhs[1].begin,
             "unary minus binds tighter than '**' here: this is (-a) ** b, not -(a ** b)");
      }
      if (op == '&' || op == '|') warn_bitwise(rhs[2]);
      break;
    }
    case Construct::conditional:
      use_value(rhs[1]);
      if (rhs[3].facts & rhs[5].facts & leaves_nothing) {
        span.facts |= leaves_nothing;
        span.nothing_at = rhs[3].nothing_at;
      }
      break;
    case Construct::assignment:
      use_value(rhs[3]);
      define(rhs[1], true);
      if (rhs[2].token == AMPERSAND_ASSIGN || rhs[2].token == BAR_ASSIGN) warn_bitwise(rhs[2]);
      span.facts |= leaves_nothing;
      span.nothing_at = rhs[2].begin;
      break;
    case Construct::comma:
      span.facts = rhs[3].facts & leaves_nothing;
      span.nothing_at = rhs[3].nothing_at;
      break;
    case Construct::function_keyword: scopes_.emplace_back(); break;
    case Construct::local_declaration: {
      const std::string name = name_of(rhs[1]);
      if (!scopes_.empty()) scopes_.back().own.insert(name);
      define(rhs[1], false);
      break;
    }
    case Construct::function: close_function(rhs[2], n == 9 ? &rhs[4] : nullptr); break;
    case Construct::condition_statement: use_value(rhs[3]); break;
    case Construct::do_while: use_value(rhs[5]); break;
    case Construct::for_loop:
      if (n == 9) use_value(rhs[5]);
      break;
    case Construct::expression_statement:
      if (rhs[1].token == IDENTIFIER) check_plain_word(name_of(rhs[1]), rhs[1].begin);
      break;
    case Construct::element_store:
      for (const Span& index : lists_[rhs[4].items - 1]) use_value(index);
      use_value(rhs[7]);
      break;
    case Construct::list_store:
      // A store that says so: its targets are the variables it means to set.
      for (const Span& target : lists_[rhs[3].items - 1]) define(target, false);
      use_value(rhs[6]);
      break;
    case Construct::first_clause:
      if (span.facts & is_default) span.facts |= has_default;
      break;
    case Construct::next_clause:
      span.facts = rhs[1].facts & (has_default | default_warned);
      span.key = rhs[1].key;
      if ((rhs[1].facts & has_default) && !(rhs[2].facts & is_default) &&
          !(rhs[1].facts & default_warned)) {
        warn(rhs[1].key,
             "'default' before a 'case': its statement runs as part of the next case's test "
             "(put 'default' last)");
        span.facts |= default_warned;
      }
      if (!(rhs[1].facts & has_default) && (rhs[2].facts & is_default)) {
        span.facts |= has_default;
        span.key = rhs[2].key;
      }
      break;
    case Construct::case_clause:
      use_value(rhs[2]);
      span.facts = 0;
      break;
    case Construct::default_clause: span.facts = is_default; break;
  }
  reduced_ = span;
  return span;
}

std::string Checker::name_of(const Span& span) const {
  const rpl::TextPtr text(identifier_text(source_.substr(span.begin, span.end - span.begin)));
  return std::string(rpl::text_view(text.get()));
}

void Checker::warn(std::uint32_t offset, std::string message) {
  if (failed_) return;
  diagnostics_.push_back({Diagnostic::Kind::warning, offset, std::move(message)});
}

void Checker::fail(std::uint32_t offset, std::string message) {
  if (failed_) return;
  diagnostics_.push_back({Diagnostic::Kind::error, offset, std::move(message)});
  failed_ = true;
}

void Checker::use_value(const Span& span) {
  if (!(span.facts & leaves_nothing)) return;
  const std::string_view op = source_.substr(span.nothing_at, 2);
  if (op == "++" || op == "--") {
    warn(span.nothing_at, quoted(op) + " leaves nothing on the stack: it has no value to use here");
  } else {
    warn(span.nothing_at, "an assignment leaves nothing on the stack: it has no value to use here");
  }
}

void Checker::warn_bitwise(const Span& op) {
  const char c = source_[op.begin];
  if (c == '&') {
    warn(op.begin, "'&' has no bitwise meaning on reals: it becomes the name '&' (use '&&' for AND)");
  } else {
    warn(op.begin,
         "'|' has no bitwise meaning on reals: it becomes the calculator's where-command "
         "(use '||' for OR)");
  }
}

void Checker::check_name(const std::string& name, std::uint32_t offset) {
  if (!name_warned_.insert(name).second) return;
  if (name == "i") {
    warn(offset, "'i' is the calculator's imaginary unit: nothing can be stored under that name");
  } else if (name == "e") {
    warn(offset, "'e' is the calculator's constant e: nothing can be stored under that name");
  } else if (is_command_(name)) {
    warn(offset, quoted(name) + " is an HP48G command: the calculator cannot store a variable "
                                "of that name, nor call it");
  }
}

void Checker::define(const Span& span, bool assigned) {
  if (span.token != IDENTIFIER) return;
  std::string name = name_of(span);
  check_name(name, span.begin);
  if (assigned && !scopes_.empty()) scopes_.back().assigned.emplace_back(name, span.begin);
  defined_.insert(std::move(name));
}

void Checker::check_item(const Span& item, std::string_view literal) {
  if (item.token == IDENTIFIER || is_constant(item.token) ||
      (item.facts & (composite | negative_number)))
    return;
  warn(item.begin, "item of '" + std::string(literal) +
                       "' is an expression: it is copied as RPL text, not computed");
}

void Checker::check_items(const Span& list, std::string_view literal) {
  for (const Span& item : lists_[list.items - 1]) check_item(item, literal);
}

void Checker::check_program_literal(const Span& span) {
  const std::string_view text = source_.substr(span.begin, span.end - span.begin);
  const std::string_view body = text.substr(3, text.size() - 5);
  const std::size_t close = body.find(">>");
  if (close == std::string_view::npos) return;
  const std::size_t open = body.find("@<<", close + 2);
  if (open == std::string_view::npos) return;
  warn(span.begin + 3 + static_cast<std::uint32_t>(open),
       "two '@<<' on one line: they make one program literal, up to the last '>>' of the line");
}

bool Checker::check_plain_word(const std::string& word, std::uint32_t offset) {
  const std::string_view effect = plain_word_effect(word);
  if (effect.empty()) return false;
  warn(offset, quoted(word) + " is a plain name here, not a statement: " + std::string(effect));
  return true;
}

void Checker::close_function(const Span& name, const Span* parameters) {
  Scope scope = std::move(scopes_.back());
  scopes_.pop_back();
  if (parameters != nullptr) {
    for (const Span& parameter : lists_[parameters->items - 1]) {
      if (parameter.token != IDENTIFIER) continue;
      scope.own.insert(name_of(parameter));
      define(parameter, false);
    }
  }
  define(name, false);
  const std::string function = name_of(name);
  std::set<std::string> warned;
  for (const auto& [variable, offset] : scope.assigned) {
    if (scope.own.count(variable) != 0 || !warned.insert(variable).second) continue;
    warn(offset, quoted(variable) + " is neither a parameter nor a local of " + quoted(function) +
                     ": it becomes a global variable, shared by every call");
  }
}

void Checker::syntax_error(const Span& at, const std::vector<int>& expected) {
  if (failed_) return;
  SyntaxErrorPlace place{source_, at, at.token == last_.token && at.begin == last_.begin ? previous_
                                                                                          : last_,
                         open_brackets_};
  for (Diagnostic& diagnostic : describe_syntax_error(place, expected)) {
    if (diagnostic.kind == Diagnostic::Kind::error) failed_ = true;
    diagnostics_.push_back(std::move(diagnostic));
  }
}

void Checker::stack_overflow() {
  fail(last_.begin, "nested too deeply: the parser's stack is full");
}

// At the assignment's operator, as C compilers put it.
void Checker::cannot_assign() { fail(reduced_.key, "cannot assign to this expression"); }

void Checker::finish() {
  for (const Call& call : calls_) {
    if (defined_.count(call.name) != 0 || is_command_(call.name)) continue;
    std::string upper = call.name;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (upper != call.name && is_command_(upper)) {
      warn(call.offset, quoted(call.name) + " is not a command: the calculator's is " + quoted(upper));
    } else {
      warn(call.offset, quoted(call.name) +
                            " is neither a command nor defined in this file: calling it leaves "
                            "the name on the stack");
    }
  }
}

std::vector<Diagnostic> Checker::take_diagnostics() {
  // Each error or warning with the notes after it, in source order.
  std::vector<std::vector<Diagnostic>> groups;
  for (Diagnostic& diagnostic : diagnostics_) {
    if (diagnostic.kind != Diagnostic::Kind::note || groups.empty()) groups.emplace_back();
    groups.back().push_back(std::move(diagnostic));
  }
  std::stable_sort(groups.begin(), groups.end(),
                   [](const auto& a, const auto& b) { return a[0].offset < b[0].offset; });
  std::vector<Diagnostic> sorted;
  for (auto& group : groups) {
    for (Diagnostic& diagnostic : group) sorted.push_back(std::move(diagnostic));
  }
  diagnostics_.clear();
  return sorted;
}

}  // namespace rplgen::check
