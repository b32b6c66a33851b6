#include "objects/algebraic.h"

#include <algorithm>
#include <optional>

#include "objects/charset.h"
#include "objects/command_registry.h"
#include "objects/symbolic.h"
#include "objects/unit.h"
#include "objects/unit_table.h"

namespace rplrun {

namespace {

// HP characters of the comparison signs.
constexpr char less_equal = static_cast<char>(137);
constexpr char greater_equal = static_cast<char>(138);
constexpr char not_equal = static_cast<char>(139);
constexpr char angle_sign = static_cast<char>(128);
constexpr char root_sign = static_cast<char>(131);
constexpr char derivative_sign = static_cast<char>(136);

// Nesting deeper than this is refused rather than risking the reader's own stack.
constexpr int max_reading_depth = 500;

struct Failure {
  std::size_t at;
};

bool is_operator_char(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
    case '<':
    case '>':
    case '!':
    case '(':
    case ')':
    case ',':
    case ';':
    case '\'':
    case '"':
    case '|':
    case less_equal:
    case greater_equal:
    case not_equal:
    case root_sign:
    case '[':
    case ']':
    case '{':
    case '}':
    case '#':
    case ':': return true;
    default: return static_cast<unsigned char>(c) == 171 || static_cast<unsigned char>(c) == 187;
  }
}

enum class Tok { end, number, name, open, close, separator, op };

// A command written as a word between or before its operands (AND, OR, XOR, MOD, NOT): an
// operator of the infix text, never an operand.
bool is_operator_word(std::string_view name) {
  const auto id = find_command(name);
  if (!id) return false;
  const Algebra& a = command_info(*id).algebra;
  return a.notation == Notation::infix ||
         (a.notation == Notation::prefix && a.precedence == prec_not);
}

class InfixReader {
 public:
  InfixReader(std::string_view text, char mark, const AlgebraicScope& scope)
      : text_(text), mark_(mark), scope_(scope) {
    advance();
  }

  void read(std::vector<Object>& out) {
    where(out);
    if (tok_ != Tok::end) fail();
  }

 private:
  [[noreturn]] void fail() const { throw Failure{start_}; }
  [[noreturn]] void fail_at(std::size_t at) const { throw Failure{at}; }

  char separator() const { return mark_ == ',' ? ';' : ','; }

  // A real literal starting at i, or nothing; `end` receives where it stops.
  std::optional<Real> scan_real(std::size_t i, std::size_t& end) const {
    std::size_t j = i;
    if (j < text_.size() && text_[j] == '-') ++j;
    const std::size_t digits_start = j;
    while (j < text_.size() && (is_digit(text_[j]) || text_[j] == mark_)) ++j;
    if (j == digits_start) return std::nullopt;
    if (j < text_.size() && text_[j] == 'E') {
      std::size_t k = j + 1;
      if (k < text_.size() && text_[k] == '-') ++k;
      if (k < text_.size() && is_digit(text_[k])) {
        while (k < text_.size() && is_digit(text_[k])) ++k;
        j = k;
      }
    }
    const auto parsed = parse_real(text_.substr(i, j - i), mark_);
    if (!parsed) return std::nullopt;
    end = j;
    return parsed->value;
  }

  void advance() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
    start_ = pos_;
    if (pos_ >= text_.size()) {
      tok_ = Tok::end;
      return;
    }
    const char c = text_[pos_];
    if (is_digit(c) || (c == mark_ && pos_ + 1 < text_.size() && is_digit(text_[pos_ + 1]))) {
      std::size_t end = 0;
      const auto value = scan_real(pos_, end);
      if (!value) fail();
      number_ = Object::real(*value);
      pos_ = end;
      if (pos_ < text_.size() && text_[pos_] == '_') number_ = unit_object(*value);
      tok_ = Tok::number;
      return;
    }
    if (c == '(') {
      // A complex literal "(re,im)" where an operand may stand (not after a function name).
      const bool operand_place = !after_name_;
      after_name_ = false;
      if (auto z = operand_place ? complex_literal() : std::nullopt) {
        number_ = *z;
        tok_ = Tok::number;
        return;
      }
      ++pos_;
      tok_ = Tok::open;
      return;
    }
    if (c == ')') {
      ++pos_;
      tok_ = Tok::close;
      return;
    }
    if (c == separator()) {
      ++pos_;
      tok_ = Tok::separator;
      return;
    }
    if (c == '=' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '=') {
      op_ = "==";
      pos_ += 2;
      tok_ = Tok::op;
      return;
    }
    if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '=' || c == '<' ||
        c == '>' || c == '!' || c == '|' || c == less_equal || c == greater_equal ||
        c == not_equal || c == root_sign) {
      op_ = std::string(1, c);
      ++pos_;
      tok_ = Tok::op;
      return;
    }
    if (is_operator_char(c)) fail();
    const std::size_t begin = pos_;
    while (pos_ < text_.size() && !is_blank(text_[pos_]) && !is_operator_char(text_[pos_])) ++pos_;
    name_ = text_.substr(begin, pos_ - begin);
    tok_ = Tok::name;
  }

  // The unit expression after the _ of a real (at pos_): factors joined by * and /,
  // each a unit name, 1 or a parenthesized expression, with a power. It ends before a *
  // or / that no factor follows: '1_m*X' is 1_m times X.
  Object unit_object(Real value) {
    const std::size_t begin = pos_ + 1;
    std::size_t end = unit_factor_end(begin, false);
    if (end == std::string_view::npos) fail_at(begin);
    while (end < text_.size() && (text_[end] == '*' || text_[end] == '/')) {
      const std::size_t next = unit_factor_end(end + 1, true);
      if (next == std::string_view::npos) break;
      end = next;
    }
    const auto factors = parse_unit_expression(text_.substr(begin, end - begin), mark_);
    if (!factors || factors->empty()) fail_at(begin);
    pos_ = end;
    return make_unit(value, *factors);
  }

  // Where the unit factor at i ends; npos when none is there. The first factor's name
  // is taken as written (an unknown one is Invalid Unit when used); a later one must be
  // a unit's.
  std::size_t unit_factor_end(std::size_t i, bool known_name) const {
    constexpr std::size_t none = std::string_view::npos;
    std::size_t j = i;
    if (j < text_.size() && text_[j] == '(') {
      for (int depth = 0; j < text_.size(); ++j) {
        depth += text_[j] == '(' ? 1 : text_[j] == ')' ? -1 : 0;
        if (depth == 0) break;
      }
      if (j == text_.size()) return none;
      ++j;
    } else {
      while (j < text_.size() && !is_blank(text_[j]) && !is_operator_char(text_[j])) ++j;
      const std::string name(text_.substr(i, j - i));
      if (name.empty() || (known_name && name != "1" && !is_unit_name(name))) return none;
    }
    if (j < text_.size() && text_[j] == '^') {
      std::size_t end = 0;
      if (!scan_real(j + 1, end)) return none;
      j = end;
    }
    return j;
  }

  std::optional<Object> complex_literal() {
    std::size_t i = pos_ + 1;
    auto skip = [&] {
      while (i < text_.size() && is_blank(text_[i])) ++i;
    };
    skip();
    std::size_t end = 0;
    const auto re = scan_real(i, end);
    if (!re) return std::nullopt;
    i = end;
    skip();
    if (i >= text_.size() || text_[i] != separator()) return std::nullopt;
    ++i;
    skip();
    bool polar = false;
    if (i < text_.size() && text_[i] == angle_sign) {
      polar = true;
      ++i;
    }
    const auto im = scan_real(i, end);
    if (!im) return std::nullopt;
    i = end;
    skip();
    if (i >= text_.size() || text_[i] != ')') return std::nullopt;
    if (polar) return std::nullopt;  // polar parts inside algebraics are not read
    pos_ = i + 1;
    return Object::complex(Complex{*re, *im});
  }

  bool at_op(std::string_view op) const { return tok_ == Tok::op && op_ == op; }
  bool at_word(std::string_view word) const { return tok_ == Tok::name && name_ == word; }

  void emit(std::vector<Object>& out, std::uint32_t id) { out.push_back(Object::command(id)); }

  void nest() {
    if (++depth_ > max_reading_depth) fail();
  }

  // After an item in parentheses: true when a separator says another follows, false at
  // the closing parenthesis (both consumed); anything else is Invalid Syntax.
  bool another_item() {
    if (tok_ == Tok::separator) {
      advance();
      return true;
    }
    if (tok_ != Tok::close) fail();
    advance();
    return false;
  }

  // expr|(name=value, ...): the expression and its bindings are kept whole, as the
  // arguments of |.
  void where(std::vector<Object>& out) {
    nest();
    std::vector<Object> left;
    equation(left);
    while (at_op("|")) {
      advance();
      if (tok_ != Tok::open) fail();
      advance();
      std::vector<Object> bindings;
      for (;;) {
        if (tok_ != Tok::name) fail();
        const Symbol* symbol = intern(name_);
        const bool local = scope_.is_local(symbol);
        if (!local && find_command(name_)) fail();
        advance();
        if (!at_op("=")) fail();
        advance();
        std::vector<Object> value;
        where(value);
        bindings.push_back(Object::name(symbol, local));
        bindings.push_back(object_of(std::move(value)));
        if (!another_item()) break;
      }
      std::vector<Object> joined;
      joined.push_back(Object::algebraic(std::move(left)));
      joined.push_back(Object::list(std::move(bindings)));
      emit(joined, cmd::where);
      left = std::move(joined);
      // F|(X=1)-(F|(X=0)): an operator after the bindings takes the whole as its left
      // operand.
      if (tok_ == Tok::op && !at_op("|")) {
        pending_ = std::move(left);
        left.clear();
        equation(left);
      }
    }
    out.insert(out.end(), left.begin(), left.end());
    --depth_;
  }

  void equation(std::vector<Object>& out) {
    nest();
    disjunction(out);
    while (at_op("=")) {
      advance();
      disjunction(out);
      emit(out, cmd::equation);
    }
    --depth_;
  }

  void disjunction(std::vector<Object>& out) {
    conjunction(out);
    while (at_word("OR") || at_word("XOR")) {
      const std::uint32_t op = at_word("OR") ? cmd::or_ : cmd::xor_;
      advance();
      conjunction(out);
      emit(out, op);
    }
  }

  void conjunction(std::vector<Object>& out) {
    negation(out);
    while (at_word("AND")) {
      advance();
      negation(out);
      emit(out, cmd::and_);
    }
  }

  void negation(std::vector<Object>& out) {
    if (at_word("NOT")) {
      nest();
      advance();
      negation(out);
      emit(out, cmd::not_);
      --depth_;
      return;
    }
    comparison(out);
  }

  void comparison(std::vector<Object>& out) {
    sum(out);
    for (;;) {
      std::uint32_t op;
      if (at_op("=="))
        op = cmd::equal;
      else if (at_op("<"))
        op = cmd::less;
      else if (at_op(">"))
        op = cmd::greater;
      else if (at_op(std::string(1, less_equal)))
        op = cmd::less_equal;
      else if (at_op(std::string(1, greater_equal)))
        op = cmd::greater_equal;
      else if (at_op(std::string(1, not_equal)))
        op = cmd::not_equal;
      else
        break;
      advance();
      sum(out);
      emit(out, op);
    }
  }

  void sum(std::vector<Object>& out) {
    product(out);
    while (at_op("+") || at_op("-")) {
      const std::uint32_t op = at_op("+") ? cmd::plus : cmd::minus;
      advance();
      product(out);
      emit(out, op);
    }
  }

  void product(std::vector<Object>& out) {
    unary(out);
    while (at_op("*") || at_op("/") || at_word("MOD")) {
      const std::uint32_t op = at_op("*") ? cmd::times : at_op("/") ? cmd::divide : cmd::mod;
      advance();
      unary(out);
      emit(out, op);
    }
  }

  void unary(std::vector<Object>& out) {
    if (!pending_ && (at_op("-") || at_op("+"))) {
      const bool negate = op_ == "-";
      nest();
      advance();
      unary(out);
      if (negate) emit(out, cmd::negate);
      --depth_;
      return;
    }
    power(out);
  }

  void power(std::vector<Object>& out) {
    postfix(out);
    while (at_op("^")) {
      advance();
      exponent(out);
      emit(out, cmd::power);
    }
  }

  void exponent(std::vector<Object>& out) {
    if (at_op("-")) {
      nest();
      advance();
      exponent(out);
      emit(out, cmd::negate);
      --depth_;
      return;
    }
    postfix(out);
  }

  void postfix(std::vector<Object>& out) {
    if (at_op(std::string(1, root_sign))) {
      // The square root is written before its operand: \v/X, \v/(X+1).
      nest();
      advance();
      postfix(out);
      emit(out, cmd::square_root);
      --depth_;
      return;
    }
    primary(out);
    while (at_op("!")) {
      advance();
      emit(out, cmd::factorial);
    }
  }

  void primary(std::vector<Object>& out) {
    if (pending_) {
      out.insert(out.end(), pending_->begin(), pending_->end());
      pending_.reset();
      return;
    }
    switch (tok_) {
      case Tok::number:
        out.push_back(number_);
        advance();
        return;
      case Tok::open:
        advance();
        where(out);
        if (tok_ != Tok::close) fail();
        advance();
        return;
      case Tok::name: name_or_call(out); return;
      default: fail();
    }
  }

  void name_or_call(std::vector<Object>& out) {
    const std::size_t at = start_;
    const std::string name(name_);
    if (is_operator_word(name)) fail();
    if (is_digit(name[0])) fail();
    const Symbol* symbol = intern(name);
    const bool local = scope_.is_local(symbol);
    std::optional<std::uint32_t> id;
    if (!local) id = find_command(name);
    after_name_ = true;
    advance();
    after_name_ = false;
    if (tok_ != Tok::open) {
      if (id) {
        const CommandInfo& info = command_info(*id);
        if (info.algebra.notation == Notation::function && info.algebra.arity == 0) {
          out.push_back(Object::command(*id));
          return;
        }
        // A function without its arguments, or a structure word, is no operand; the name
        // of another command stands for a variable of that name ('FACT' STO).
        if (info.algebra.notation != Notation::none || info.word != Word::none) fail_at(at);
      }
      out.push_back(Object::name(symbol, local));
      return;
    }
    if (name.size() > 1 && name[0] == derivative_sign) {
      derivative(out, at, name.substr(1));
      return;
    }
    // name(arg, ...)
    nest();
    advance();
    std::vector<std::vector<Object>> args;
    for (;;) {
      args.emplace_back();
      where(args.back());
      if (!another_item()) break;
    }
    --depth_;
    const auto argc = static_cast<std::uint32_t>(args.size());
    if (id == cmd::integral || id == cmd::summation) {
      calculus(out, at, *id, args);
      return;
    }
    if (id) {
      const CommandInfo& info = command_info(*id);
      if (info.supported && info.algebra.notation != Notation::kept) {
        if (info.algebra.notation != Notation::function || info.algebra.arity != argc || argc == 0)
          fail_at(at);
        if (info.algebra.reversed) std::reverse(args.begin(), args.end());
        for (auto& arg : args) {
          if (info.algebra.quoted_args)
            out.push_back(Object::algebraic(std::move(arg)));
          else
            out.insert(out.end(), arg.begin(), arg.end());
        }
        out.push_back(Object::command(*id));
        return;
      }
    }
    // A calculator function rplrun does not run: kept by name, reported when evaluated.
    for (auto& arg : args) out.insert(out.end(), arg.begin(), arg.end());
    out.push_back(Object::call(symbol, argc, local));
  }

  // The variable of a derivative, integral or sum: a lone name, quoted.
  Object variable(const std::vector<Object>& arg, std::size_t at) const {
    if (arg.size() != 1 || !arg[0].is(Kind::name)) fail_at(at);
    return arg[0].quoted();
  }

  // \.dX(f): the function kept whole, then its variable, as \.d takes them.
  void derivative(std::vector<Object>& out, std::size_t at, std::string_view var) {
    if (is_digit(var[0])) fail_at(at);
    nest();
    advance();
    std::vector<Object> function;
    where(function);
    if (tok_ != Tok::close) fail();
    advance();
    --depth_;
    const Symbol* symbol = intern(var);
    out.push_back(kept_item(object_of(std::move(function))));
    out.push_back(Object::name(symbol, scope_.is_local(symbol), true));
    emit(out, cmd::derivative);
  }

  // \.S(lo,hi,f,X) and \GS(I=lo,hi,f): the bounds as operands, the function kept whole,
  // the variable quoted, in the order the commands take them.
  void calculus(std::vector<Object>& out, std::size_t at, std::uint32_t id,
                std::vector<std::vector<Object>>& args) {
    if (id == cmd::integral) {
      if (args.size() != 4) fail_at(at);
      out.insert(out.end(), args[0].begin(), args[0].end());
      out.insert(out.end(), args[1].begin(), args[1].end());
      out.push_back(kept_item(object_of(std::move(args[2]))));
      out.push_back(variable(args[3], at));
    } else {
      if (args.size() != 3 || args[0].empty() || !args[0].back().is(Kind::command) ||
          args[0].back().command_id() != cmd::equation)
        fail_at(at);
      auto sides = last_operands(args[0]);
      out.push_back(variable(sides[0], at));
      out.insert(out.end(), sides[1].begin(), sides[1].end());
      out.insert(out.end(), args[1].begin(), args[1].end());
      out.push_back(kept_item(object_of(std::move(args[2]))));
    }
    emit(out, id);
  }

  std::string_view text_;
  char mark_;
  const AlgebraicScope& scope_;
  std::optional<std::vector<Object>> pending_;  // a where taken as the next primary
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
  int depth_ = 0;
  bool after_name_ = false;
  Tok tok_ = Tok::end;
  std::string op_;
  std::string_view name_;
  Object number_;
};

}  // namespace

bool read_infix(std::string_view text, char fraction_mark, const AlgebraicScope& scope,
                std::vector<Object>& postfix, std::size_t& error_at) {
  try {
    InfixReader reader(text, fraction_mark, scope);
    reader.read(postfix);
    return true;
  } catch (const Failure& failure) {
    error_at = failure.at;
    return false;
  }
}

void append_operand(std::vector<Object>& postfix, const Object& operand) {
  if (operand.is(Kind::algebraic)) {
    postfix.insert(postfix.end(), operand.items().begin(), operand.items().end());
  } else if (operand.is(Kind::name)) {
    postfix.push_back(operand.unquoted());
  } else {
    postfix.push_back(operand);
  }
}

Object build_algebraic(const Object* args, std::size_t count, const Object& op) {
  std::size_t size = 1;
  for (std::size_t k = 0; k < count; ++k)
    size += args[k].is(Kind::algebraic) ? args[k].items().size() : 1;
  check_item_count(size);
  std::vector<Object> postfix;
  postfix.reserve(size);
  for (std::size_t k = 0; k < count; ++k) append_operand(postfix, args[k]);
  postfix.push_back(op);
  return Object::algebraic(std::move(postfix));
}

}  // namespace rplrun
