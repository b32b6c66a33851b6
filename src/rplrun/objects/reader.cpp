#include "objects/reader.h"

#include <algorithm>
#include <array>
#include <new>

#include "numbers/coordinates.h"
#include "numbers/real_functions.h"
#include "objects/algebraic.h"
#include "objects/array.h"
#include "objects/charset.h"
#include "objects/command_registry.h"
#include "objects/directory.h"
#include "objects/errors.h"
#include "objects/grob.h"
#include "objects/unit.h"
#include "support/charset.h"

namespace rplrun {

namespace {

constexpr unsigned char program_open = 171;   // «
constexpr unsigned char program_close = 187;  // »
constexpr unsigned char arrow = 141;          // →
constexpr unsigned char angle_sign = 128;     // ∠
// The first character of a compiled local name: ←.
constexpr unsigned char compiled_local_mark = 142;
// Composite objects nested deeper than this are refused rather than risking the
// reader's own stack.
constexpr int max_reading_depth = 500;

enum class T {
  end,
  program_open,
  program_close,
  list_open,
  list_close,
  array_open,
  array_close,
  paren_open,
  paren_close,
  string,
  quote,
  tag,
  hash,
  word,
};

struct Token {
  T type = T::end;
  std::size_t start = 0;  // first character
  std::size_t end = 0;    // one past the last
  bool closed = true;     // a string or algebraic with its closing quote
};

bool is_self_delimiting(unsigned char c) {
  return c == program_open || c == program_close || c == '{' || c == '}' || c == '[' || c == ']' ||
         c == '(' || c == ')' || c == '"' || c == '\'';
}

class Reader : public AlgebraicScope {
 public:
  Reader(const SourceText& source, const ReadContext& context)
      : source_(source),
        text_(source.text()),
        mark_(source.fraction_mark),
        angle_(source.angle_mode.value_or(context.angle_mode)),
        base_(context.binary_base),
        supplied_(context.supplied) {}

  // Where reading has got to.
  Position position() const { return source_.position_at(pos_); }

  Object read_body() {
    Sequence body;
    read_sequence(T::end, 0, body);
    return make_program(std::move(body.items), std::move(body.positions), std::move(body.control));
  }

  // A name that begins with \<- is always a local: the 48G's compiled local variables,
  // which a program called from inside the structure that binds them can use.
  bool is_local(const Symbol* symbol) const override {
    const std::string& text = symbol->text();
    if (!text.empty() && static_cast<unsigned char>(text.front()) == compiled_local_mark)
      return true;
    for (auto it = scope_.rbegin(); it != scope_.rend(); ++it) {
      if (*it == symbol) return true;
    }
    return false;
  }

 private:
  struct Sequence {
    std::vector<Object> items;
    std::vector<Position> positions;
    std::vector<Control> control;
    StructureBuilder builder;
  };

  [[noreturn]] void fail(std::size_t at) const { throw SyntaxError{source_.position_at(at)}; }

  // The end of the input where a delimiter opened at `at` is still open: closed
  // there when the input allows, Invalid Syntax at the opener otherwise.
  void close_at_end(std::size_t at, unsigned char open, unsigned char close) {
    if (supplied_ == nullptr) fail(at);
    supplied_->push_back({source_.position_at(at), open, close});
  }

  bool is_separator(unsigned char c) const { return c == ';' || (c == ',' && mark_ == '.'); }

  std::string_view text_of(const Token& t) const {
    return std::string_view(text_).substr(t.start, t.end - t.start);
  }

  // What a string or an algebraic holds between its quotes.
  std::string_view inside_quotes(const Token& t) const {
    return text_of(t).substr(1, t.end - t.start - (t.closed ? 2 : 1));
  }

  void skip_blanks() {
    while (pos_ < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[pos_]);
      if (is_blank(c) || is_separator(c)) {
        ++pos_;
      } else if (c == '@') {
        // A comment runs to the next @ or the end of the line.
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '@' && text_[pos_] != '\n') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '@') ++pos_;
      } else {
        break;
      }
    }
  }

  std::size_t word_end(std::size_t i) const {
    while (i < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[i]);
      if (is_blank(c) || is_separator(c) || is_self_delimiting(c)) break;
      ++i;
    }
    return i;
  }

  Token next() {
    skip_blanks();
    Token t;
    t.start = pos_;
    if (pos_ >= text_.size()) {
      t.type = T::end;
      t.end = pos_;
      return t;
    }
    const auto c = static_cast<unsigned char>(text_[pos_]);
    auto single = [&](T type) {
      t.type = type;
      t.end = ++pos_;
      return t;
    };
    auto quoted = [&](T type, char close) {
      const std::size_t found = text_.find(close, pos_ + 1);
      t.type = type;
      if (found == std::string::npos) {
        close_at_end(pos_, static_cast<unsigned char>(close), static_cast<unsigned char>(close));
        t.closed = false;
        pos_ = t.end = text_.size();
        return t;
      }
      pos_ = t.end = found + 1;
      return t;
    };
    switch (c) {
      case program_open: return single(T::program_open);
      case program_close: return single(T::program_close);
      case '{': return single(T::list_open);
      case '}': return single(T::list_close);
      case '[': return single(T::array_open);
      case ']': return single(T::array_close);
      case '(': return single(T::paren_open);
      case ')': return single(T::paren_close);
      case '"': return quoted(T::string, '"');
      case '\'': return quoted(T::quote, '\'');
      case ':': {
        const std::size_t found = text_.find(':', pos_ + 1);
        if (found == std::string::npos || found == pos_ + 1 || text_.find('\n', pos_ + 1) < found)
          fail(pos_);
        t.type = T::tag;
        pos_ = t.end = found + 1;
        return t;
      }
      case '#': {
        // "#12h" or "# 1010b"
        std::size_t i = pos_ + 1;
        while (i < text_.size() && text_[i] == ' ') ++i;
        const std::size_t end = word_end(i);
        if (end == i) fail(pos_);
        t.type = T::hash;
        pos_ = t.end = end;
        return t;
      }
      default:
        t.type = T::word;
        pos_ = t.end = word_end(pos_);
        if (looks_numeric(text_of(t)) && text_of(t).find('_') != std::string_view::npos)
          pos_ = t.end = unit_end(t.end);
        return t;
    }
  }

  // A unit object's expression may hold parentheses: 1_J/(gmol*K) is one word, up to
  // a blank, a separator or a delimiter other than a parenthesis.
  std::size_t unit_end(std::size_t i) const {
    while (i < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[i]);
      if (c == '(' || c == ')') {
        ++i;
        continue;
      }
      if (is_blank(c) || is_separator(c) || is_self_delimiting(c)) break;
      ++i;
    }
    return i;
  }

  // 9.8_m/s^2: a real literal, _, a unit expression.
  Object read_unit(const Token& t, std::size_t underscore) {
    const std::string_view word = text_of(t);
    const auto value = real_literal(word.substr(0, underscore));
    if (!value) fail(t.start);
    const auto factors = parse_unit_expression(word.substr(underscore + 1), mark_);
    if (!factors || factors->empty()) fail(t.start + underscore + 1);
    return make_unit(*value, *factors);
  }

  void append(Sequence& seq, Object item, std::size_t at) {
    seq.items.push_back(std::move(item));
    seq.positions.push_back(source_.position_at(at));
    seq.control.emplace_back();
    switch (seq.builder.add(seq.items, seq.control)) {
      case StructureBuilder::Event::invalid: fail(at);
      case StructureBuilder::Event::for_name: scope_.push_back(seq.items.back().symbol()); break;
      case StructureBuilder::Event::closed_for: scope_.pop_back(); break;
      case StructureBuilder::Event::ok: break;
    }
  }

  void nest(std::size_t at) {
    if (++depth_ > max_reading_depth) fail(at);
  }

  // Objects up to the closing token (or the end of the input for T::end).
  void read_sequence(T closing, std::size_t opener, Sequence& seq) {
    const std::size_t scope_size = scope_.size();
    for (;;) {
      const Token t = next();
      if (t.type == closing) break;
      if (t.type == T::end) {
        const bool program = closing == T::program_close;
        close_at_end(opener, program ? program_open : '{', program ? program_close : '}');
        break;
      }
      if (t.type == T::word) {
        const std::string_view word = text_of(t);
        if (word.size() == 1 && static_cast<unsigned char>(word[0]) == arrow) {
          read_binding(seq, t);
          continue;
        }
        if (word == "DIR" || word == "GROB") {
          append(seq, read_object(t), t.start);
          continue;
        }
        Object item = read_word(t);
        const bool is_for =
            item.is(Kind::command) && command_info(item.command_id()).word == Word::for_;
        append(seq, std::move(item), t.start);
        if (is_for) {
          const Token name = next();
          if (name.type != T::word) fail(name.start);
          append(seq, declared_name(name), name.start);
        }
        continue;
      }
      Object item = read_object(t);
      // A list keeps names, not their quotes: { 'X' } is { X }.
      if (closing == T::list_close && item.is(Kind::name)) item = item.unquoted();
      append(seq, std::move(item), t.start);
    }
    if (const auto open = seq.builder.unclosed()) {
      const Position& p = seq.positions[*open];
      throw SyntaxError{p};
    }
    if (!seq.builder.any()) seq.control.clear();
    scope_.resize(scope_size);
  }

  // "\-> a b c" then a program or an algebraic, read with the names in scope.
  void read_binding(Sequence& seq, const Token& arrow_token) {
    append(seq, Object::command(word_id(Word::arrow_)), arrow_token.start);
    std::vector<const Symbol*> names;
    for (;;) {
      const Token t = next();
      if (t.type == T::word) {
        Object name = declared_name(t);
        names.push_back(name.symbol());
        append(seq, std::move(name), t.start);
        continue;
      }
      if (t.type != T::program_open && t.type != T::quote) fail(t.start);
      if (names.empty()) fail(t.start);
      scope_.insert(scope_.end(), names.begin(), names.end());
      Object body = read_object(t);
      if (body.is(Kind::name)) body = Object::algebraic({body.unquoted()});
      if (body.is(Kind::real) || body.is(Kind::complex)) body = Object::algebraic({body});
      scope_.resize(scope_.size() - names.size());
      append(seq, std::move(body), t.start);
      return;
    }
  }

  // A name being declared: a local of \-> or FOR. A local may take a command's name
  // (rplgen's loops use i), but not a structure word's.
  Object declared_name(const Token& t) {
    const std::string_view word = text_of(t);
    if (looks_numeric(word)) fail(t.start);
    if (const auto id = find_command(word); id && command_info(*id).word != Word::none)
      fail(t.start);
    return Object::name(intern(word), true);
  }

  bool looks_numeric(std::string_view word) const {
    std::size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) ++i;
    if (i < word.size() && word[i] == mark_) ++i;
    return i < word.size() && is_digit(word[i]);
  }

  std::optional<Real> real_literal(std::string_view word) const {
    const auto parsed = parse_real(word, mark_);
    if (!parsed) return std::nullopt;
    return parsed->value;
  }

  Object read_word(const Token& t) {
    const std::string_view word = text_of(t);
    if (looks_numeric(word)) {
      if (const auto underscore = word.find('_'); underscore != std::string_view::npos)
        return read_unit(t, underscore);
      const auto value = real_literal(word);
      if (!value) fail(t.start);
      return Object::real(*value);
    }
    // Locals in scope come before commands of the same name.
    const Symbol* symbol = intern(word);
    if (is_local(symbol)) return Object::name(symbol, true);
    if (const auto id = find_command(word)) return Object::command(*id);
    return Object::name(symbol, false);
  }

  Object read_object(const Token& t) {
    switch (t.type) {
      case T::word: {
        if (text_of(t) == "DIR") return read_directory(t);
        if (text_of(t) == "GROB") return read_grob(t);
        Object item = read_word(t);
        // Outside a program, structure words have no meaning.
        if (item.is(Kind::command) && command_info(item.command_id()).word != Word::none)
          fail(t.start);
        return item;
      }
      case T::program_open: {
        nest(t.start);
        Sequence body;
        read_sequence(T::program_close, t.start, body);
        --depth_;
        return make_program(std::move(body.items), std::move(body.positions),
                            std::move(body.control));
      }
      case T::list_open: {
        nest(t.start);
        Sequence body;
        read_sequence(T::list_close, t.start, body);
        --depth_;
        return Object::list(std::move(body.items), std::move(body.positions));
      }
      case T::array_open: return read_array(t);
      case T::paren_open: return read_complex(t);
      case T::string: return Object::string(std::string(inside_quotes(t)));
      case T::quote: return read_quoted(t);
      case T::tag: {
        const std::string tag(text_of(t).substr(1, t.end - t.start - 2));
        const Token value = next();
        if (value.type == T::end) fail(t.start);
        nest(t.start);
        Object object = read_object(value);
        --depth_;
        return Object::tagged(tag, std::move(object));
      }
      case T::hash: return read_binary(t);
      default: fail(t.start);
    }
  }

  // DIR, then each variable's name and object, then END.
  Object read_directory(const Token& open) {
    nest(open.start);
    std::vector<std::pair<const Symbol*, Object>> variables;
    for (;;) {
      const Token t = next();
      if (t.type != T::word) fail(t.type == T::end ? open.start : t.start);
      const std::string_view word = text_of(t);
      if (word == "END") break;
      if (looks_numeric(word) || find_command(word)) fail(t.start);
      const Symbol* name = intern(word);
      for (const auto& variable : variables) {
        if (variable.first == name) fail(t.start);
      }
      const Token value = next();
      if (value.type == T::end) fail(open.start);
      variables.emplace_back(name, read_object(value));
    }
    --depth_;
    return make_directory(variables);
  }

  // GROB, the width and the height, then the digits of the pixels (none when there
  // are no pixels).
  Object read_grob(const Token& open) {
    const auto dimension = [&] {
      const Token t = next();
      const std::string_view digits = text_of(t);
      if (t.type != T::word || digits.empty() || digits.size() > 7 ||
          !std::all_of(digits.begin(), digits.end(), is_digit))
        fail(t.type == T::end ? open.start : t.start);
      return static_cast<std::size_t>(std::stoul(std::string(digits)));
    };
    const std::size_t width = dimension();
    const std::size_t height = dimension();
    if (grob_digit_count(width, height) == 0) return make_grob(Grob(width, height));
    const Token t = next();
    const auto grob =
        t.type == T::word ? grob_from_digits(width, height, text_of(t)) : std::nullopt;
    if (!grob) fail(t.type == T::end ? open.start : t.start);
    return make_grob(*grob);
  }

  Object read_quoted(const Token& t) {
    const std::string_view inside = inside_quotes(t);
    std::vector<Object> postfix;
    std::size_t error_at = 0;
    if (!read_infix(inside, mark_, *this, postfix, error_at)) fail(t.start + 1 + error_at);
    if (postfix.size() == 1) {
      const Object& only = postfix.front();
      if (only.is(Kind::name)) return only.quoted();
      if (only.is(Kind::real) || only.is(Kind::complex) || only.is(Kind::unit)) return only;
    }
    // '-5' is the number -5, not the negation of 5; '-2_m' is -2_m.
    if (postfix.size() == 2 && (postfix[0].is(Kind::real) || postfix[0].is(Kind::unit)) &&
        postfix[1].is(Kind::command)) {
      const Algebra& a = command_info(postfix[1].command_id()).algebra;
      if (a.notation == Notation::prefix && a.precedence == prec_negate) {
        if (postfix[0].is(Kind::real)) return Object::real(negate(postfix[0].as_real()));
        return make_unit(negate(unit_of(postfix[0]).value), unit_of(postfix[0]).factors);
      }
    }
    return Object::algebraic(std::move(postfix));
  }

  // "(re,im)", "(r,\<)angle)": two real literals, nothing else.
  Object read_complex(const Token& open) {
    const std::size_t close = text_.find(')', open.end);
    if (close == std::string::npos) fail(open.start);
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t i = open.end;
    while (i < close) {
      const auto c = static_cast<unsigned char>(text_[i]);
      if (is_blank(c) || is_separator(c)) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < close && !is_blank(text_[j]) &&
             !is_separator(static_cast<unsigned char>(text_[j])))
        ++j;
      parts.emplace_back(i, j);
      i = j;
    }
    if (parts.size() != 2) fail(parts.size() > 2 ? parts[2].first : open.start);
    const auto re = real_literal(
        std::string_view(text_).substr(parts[0].first, parts[0].second - parts[0].first));
    if (!re) fail(parts[0].first);
    std::size_t im_start = parts[1].first;
    const bool polar = static_cast<unsigned char>(text_[im_start]) == angle_sign;
    if (polar) ++im_start;
    const auto im =
        real_literal(std::string_view(text_).substr(im_start, parts[1].second - im_start));
    if (!im) fail(parts[1].first);
    pos_ = close + 1;
    if (polar) return Object::complex(from_polar(*re, *im, angle_).value);
    return Object::complex(Complex{*re, *im});
  }

  Object read_array(const Token& open) {
    nest(open.start);
    std::vector<Object> elements;
    Token t = next();
    if (t.type == T::array_open) {
      // A matrix: rows of numbers.
      std::uint32_t rows = 0;
      std::size_t columns = 0;
      while (t.type == T::array_open) {
        const std::size_t before = elements.size();
        read_numbers(elements, t);
        const std::size_t count = elements.size() - before;
        if (rows > 0 && count != columns) fail(t.start);
        columns = count;
        ++rows;
        t = next();
      }
      if (t.type == T::end) {
        close_at_end(open.start, '[', ']');
      } else if (t.type != T::array_close) {
        fail(t.start);
      }
      --depth_;
      return make_matrix(std::move(elements), rows, static_cast<std::uint32_t>(columns));
    }
    pos_ = t.start;
    std::vector<bool> angles;
    read_numbers(elements, open, &angles);
    --depth_;
    if (std::find(angles.begin(), angles.end(), true) != angles.end())
      return polar_vector(elements, angles, open);
    return make_vector(std::move(elements));
  }

  // Numbers up to "]", at least one. A vector's reals may carry the angle sign
  // (`angles` tells which); a matrix's may not.
  void read_numbers(std::vector<Object>& out, const Token& open,
                    std::vector<bool>* angles = nullptr) {
    const std::size_t before = out.size();
    for (;;) {
      const Token t = next();
      if (t.type == T::array_close) break;
      if (t.type == T::end && out.size() > before) {
        close_at_end(open.start, '[', ']');
        break;
      }
      bool angle = false;
      if (t.type == T::paren_open) {
        out.push_back(read_complex(t));
      } else if (t.type == T::word && looks_numeric(text_of(t)) &&
                 text_of(t).find('_') == std::string_view::npos) {
        out.push_back(read_word(t));
      } else if (angles && t.type == T::word &&
                 static_cast<unsigned char>(text_[t.start]) == angle_sign) {
        const auto value = real_literal(text_of(t).substr(1));
        if (!value) fail(t.start);
        out.push_back(Object::real(*value));
        angle = true;
      } else {
        fail(t.start);
      }
      if (angles) angles->push_back(angle);
    }
    if (out.size() == before) fail(open.start);
  }

  // A vector typed with polar parts, made rectangular with the angle mode in force:
  // [ r \<)theta ], [ r \<)theta z ] (cylindrical), [ r \<)theta \<)phi ] (spherical).
  Object polar_vector(const std::vector<Object>& e, const std::vector<bool>& angles,
                      const Token& open) {
    const std::size_t n = e.size();
    if ((n != 2 && n != 3) || angles[0] || !angles[1]) fail(open.start);
    for (const Object& x : e) {
      if (!x.is(Kind::real)) fail(open.start);
    }
    if (n == 3 && angles[2]) {
      const TripleResult v =
          from_spherical(e[0].as_real(), e[1].as_real(), e[2].as_real(), angle_);
      return make_vector(
          {Object::real(v.values[0]), Object::real(v.values[1]), Object::real(v.values[2])});
    }
    const Complex xy = from_polar(e[0].as_real(), e[1].as_real(), angle_).value;
    std::vector<Object> rect{Object::real(xy.re), Object::real(xy.im)};
    if (n == 3) rect.push_back(e[2]);
    return make_vector(std::move(rect));
  }

  Object read_binary(const Token& t) {
    std::string_view digits = text_of(t).substr(1);
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    if (digits.empty()) fail(t.start);
    // A base letter ends the digits; without one the current base applies. Digits past
    // 64 bits are lost, as in a word-size overflow (unverified).
    int base = base_;
    const std::string_view letters = "hdob";
    if (const auto letter = letters.find(digits.back()); letter != std::string_view::npos) {
      base = std::array{16, 10, 8, 2}[letter];
      digits.remove_suffix(1);
    }
    if (digits.empty()) fail(t.start);
    std::uint64_t value = 0;
    for (const char c : digits) {
      int d = -1;
      if (is_digit(c))
        d = c - '0';
      else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      if (d < 0 || d >= base) fail(t.start);
      value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return Object::binary(value);
  }

  const SourceText& source_;
  const std::string& text_;
  char mark_;
  AngleMode angle_;
  int base_;
  std::vector<SuppliedClosing>* supplied_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::vector<const Symbol*> scope_;
};

}  // namespace

Object read_program_body(const SourceText& source, const ReadContext& context) {
  Reader reader(source, context);
  try {
    return reader.read_body();
  } catch (const RplError& error) {
    throw SyntaxError{reader.position(), error.number};
  } catch (const std::bad_alloc&) {
    // Objects larger than the memory the system gives: the same error as one larger
    // than an object may be.
    throw SyntaxError{reader.position(), insufficient_memory};
  }
}

Object read_builtin_program(const char* source_name, std::string_view rpl) {
  const std::uint32_t source = register_source(source_name);
  return read_program_body(SourceText(source, rpl::decode_backslash_codes(rpl)), ReadContext{});
}

}  // namespace rplrun
