#include "generate.h"

#include <cstdint>
#include <string>
#include <utility>

namespace {

// splitmix64: small, fast and the same on every platform, unlike the
// distributions of <random>.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }
  template <std::size_t N>
  const char* pick(const char* const (&items)[N]) { return items[below(N)]; }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t seed = 20240605;

// Text is gathered in a string and written in large pieces.
class Writer {
 public:
  explicit Writer(std::FILE* out) : out_(out) {}
  ~Writer() { flush(); }

  Writer& operator<<(std::string_view s) {
    buffer_ += s;
    written_ += s.size();
    if (buffer_.size() >= (1u << 20)) flush();
    return *this;
  }
  Writer& operator<<(char c) { return *this << std::string_view(&c, 1); }
  Writer& operator<<(unsigned n) { return *this << std::string_view(std::to_string(n)); }
  std::size_t written() const { return written_; }

 private:
  void flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
  }
  std::FILE* out_;
  std::string buffer_;
  std::size_t written_ = 0;
};

// --- realistic: functions with parameters and locals, every statement kind,
// expressions of every level, every literal kind, comments of every kind.

const char* const names[] = {"a", "b", "c", "n", "x", "y", "z", "sum", "count", "total",
                             "Rate", "$tmp", "v.old", "\\-\\>x", "i2", "Max"};
const char* const words[] = {"the", "value", "of", "loop", "result", "is", "stored",
                             "when", "each", "step", "counts", "down", "to", "zero"};

// Pieces of text joined left to right. Unlike a chain of "+", a chain of "<<"
// is evaluated in order, so the random choices come out in the same order
// with every compiler.
class Cat {
 public:
  Cat& operator<<(std::string_view s) {
    text_ += s;
    return *this;
  }
  Cat& operator<<(unsigned n) { return *this << std::string_view(std::to_string(n)); }
  operator std::string() const { return text_; }

 private:
  std::string text_;
};

class Realistic {
 public:
  Realistic(std::FILE* out) : w_(out), random_(seed) {}

  void write(std::size_t bytes) {
    for (unsigned f = 0; w_.written() < bytes; ++f) function(f);
  }

 private:
  std::string name() { return random_.pick(names); }

  std::string number() {
    switch (random_.below(6)) {
      case 0: return Cat() << random_.below(1000);
      case 1: return Cat() << random_.below(100) << "." << random_.below(100);
      case 2: return Cat() << random_.below(10) << "e" << random_.below(20);
      case 3: return Cat() << random_.below(10) << ".5E-" << random_.below(9);
      case 4: return Cat() << ".25e+" << random_.below(9);
      default: return Cat() << random_.below(10);
    }
  }

  std::string words_text(unsigned count) {
    Cat text;
    for (unsigned i = 0; i < count; ++i) text << (i > 0 ? " " : "") << random_.pick(words);
    return text;
  }

  // A literal; a program literal only where the line has none yet.
  std::string literal() {
    switch (random_.below(program_literal_allowed_ ? 9 : 8)) {
      case 0: return Cat() << "'" << name() << "+" << number() << "'";
      case 1: return Cat() << "`DUP " << number() << " +`";
      case 2: return Cat() << "\"" << words_text(1 + random_.below(4)) << "\\n\"";
      case 3: return Cat() << "\"say \\\"" << words_text(2) << "\\\"\"";
      case 4: return Cat() << "@[" << number() << ", " << number() << ", " << number() << "]";
      case 5: return Cat() << "@{" << name() << ", " << number() << "}";
      case 6:
        if (random_.chance(30)) return "@{}";
        return Cat() << "@(" << number() << ", " << number() << ")";
      case 7: return number();
      default:
        program_literal_allowed_ = false;
        return Cat() << "@<< DUP " << number() << " * >>";
    }
  }

  // A constant: the only literals a local's initial value may be.
  std::string constant() {
    switch (random_.below(5)) {
      case 0: return Cat() << "'" << name() << "*2'";
      case 1: return "`DROP`";
      case 2: return Cat() << "\"" << words_text(2) << "\"";
      case 3:
        if (!program_literal_allowed_) return number();
        program_literal_allowed_ = false;
        return "@<< 1 + >>";
      default: return number();
    }
  }

  std::string primary(unsigned depth) {
    if (depth == 0 || random_.chance(40)) return random_.chance(60) ? name() : literal();
    switch (random_.below(6)) {
      case 0: return Cat() << "(" << expression(depth - 1) << ")";
      case 1: return Cat() << "(" << expression(depth - 1) << ")!";
      case 2: return Cat() << name() << "[" << expression(depth - 1) << "]";
      case 3: return Cat() << name() << "(" << expression(depth - 1) << ", " << name() << ")";
      case 4: return Cat() << name() << "()";
      default: return Cat() << name() << (random_.chance(50) ? "++" : "--");
    }
  }

  std::string unary(unsigned depth) {
    if (random_.chance(80)) return primary(depth);
    static const char* const prefixes[] = {"-", "!", "~", "+", "++", "--"};
    const std::string_view prefix = random_.pick(prefixes);
    // "++" and "--" need a name; the others take any operand.
    if (prefix.size() == 2) return Cat() << prefix << name();
    return Cat() << prefix << primary(depth);
  }

  // A binary expression whose operators come from every level.
  std::string expression(unsigned depth) {
    static const char* const operators[] = {"**", "*", "/", "%", "+", "-", "<", ">", "<=", ">=",
                                            "==", "!=", "&", "^", "|", "&&", "||"};
    Cat text;
    text << unary(depth);
    const unsigned count = random_.below(4);
    for (unsigned i = 0; i < count; ++i) {
      text << " " << random_.pick(operators) << " " << unary(depth);
    }
    if (depth > 0 && random_.chance(10)) {
      text << " ? " << unary(depth - 1) << " : " << unary(depth - 1);
    }
    return text;
  }

  std::string assignment() {
    static const char* const operators[] = {"=", "=", "=", "+=", "-=", "*=", "/=", "%=",
                                            "&=", "^=", "|="};
    return Cat() << name() << " " << random_.pick(operators) << " " << expression(2);
  }

  void indent(unsigned level) {
    for (unsigned i = 0; i < level; ++i) w_ << "  ";
  }

  void statement(unsigned level, unsigned depth) {
    program_literal_allowed_ = true;
    indent(level);
    const unsigned kind = depth == 0 ? 0 : random_.below(20);
    switch (kind) {
      case 1:
        w_ << "if (" << expression(1) << ")\n";
        statement(level + 1, depth - 1);
        if (random_.chance(50)) {
          indent(level);
          w_ << "else\n";
          statement(level + 1, depth - 1);
        }
        return;
      case 2:
        w_ << "for (" << name() << " = 1; " << name() << " <= " << name() << "; " << name()
           << "++) {\n";
        block_body(level + 1, depth - 1);
        indent(level);
        w_ << "}\n";
        return;
      case 3:
        w_ << "for (;; " << name() << "--)\n";
        statement(level + 1, depth - 1);
        return;
      case 4:
        w_ << "while (" << expression(1) << ") {\n";
        block_body(level + 1, depth - 1);
        indent(level);
        w_ << "}\n";
        return;
      case 5:
        w_ << "do {\n";
        block_body(level + 1, depth - 1);
        indent(level);
        w_ << "} while (" << expression(1) << ");\n";
        return;
      case 6: {
        w_ << "switch (" << name() << ") {\n";
        const unsigned cases = 1 + random_.below(4);
        for (unsigned i = 0; i < cases; ++i) {
          indent(level + 1);
          w_ << "case " << number() << ":\n";
          statement(level + 2, depth - 1);
        }
        indent(level + 1);
        w_ << "default:\n";
        statement(level + 2, depth - 1);
        indent(level);
        w_ << "}\n";
        return;
      }
      case 7:
        w_ << "assign " << name() << "[" << expression(1) << ", " << number() << "] = "
           << expression(1) << ";\n";
        return;
      case 8:
        w_ << "assign @{" << name() << ", " << name() << "} = @{" << number() << ", "
           << literal() << "};\n";
        return;
      // A comment stands before a statement, never for one.
      case 9:
        w_ << "// " << words_text(3 + random_.below(6)) << "\n";
        indent(level);
        w_ << assignment() << ";\n";
        return;
      case 10:
        w_ << "/* " << words_text(4) << "\n";
        indent(level);
        w_ << " * " << words_text(5) << " */\n";
        indent(level);
        w_ << assignment() << ";\n";
        return;
      case 11:
        w_ << expression(3) << ";  # " << words_text(3) << "\n";
        return;
      case 12:
        w_ << name() << ", " << assignment() << ";\n";
        return;
      default:
        w_ << assignment() << ";\n";
        return;
    }
  }

  void block_body(unsigned level, unsigned depth) {
    const unsigned count = 1 + random_.below(4);
    for (unsigned i = 0; i < count; ++i) statement(level, depth);
  }

  void function(unsigned number) {
    w_ << "/* " << words_text(6) << " */\n";
    w_ << "declare F" << number << "(";
    const unsigned parameters = random_.below(4);
    for (unsigned i = 0; i < parameters; ++i) w_ << (i > 0 ? ", " : "") << name();
    w_ << ")";
    program_literal_allowed_ = true;
    const unsigned locals = random_.below(4);
    for (unsigned i = 0; i < locals; ++i) {
      w_ << (i == 0 ? " : " : ", ") << "l" << i << "(";
      w_ << constant() << ")";
    }
    w_ << " {\n";
    const unsigned statements = 4 + random_.below(12);
    for (unsigned i = 0; i < statements; ++i) statement(1, 3);
    w_ << "}\n";
    w_ << "F" << number << "(" << number % 100 << ", " << name() << ");\n\n";
  }

  Writer w_;
  Random random_;
  bool program_literal_allowed_ = true;
};

void write_realistic(std::FILE* out, std::size_t bytes) { Realistic(out).write(bytes); }

// --- tiny: the smallest statement, over and over.
void write_tiny(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  while (w.written() < bytes) w << "x;\n";
}

// --- chain: one statement, "a + a + a + ...", in lines of reasonable length.
void write_chain(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  w << "x = a";
  for (unsigned i = 1; w.written() < bytes; ++i) w << (i % 20 == 0 ? " +\n a" : " + a");
  w << ";\n";
}

// --- postfix: long postfix chains, one statement each: calls, indexing and
// a list with many items.
void write_postfix(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  const std::size_t third = bytes / 3;
  w << "f";
  for (unsigned i = 0; w.written() < third; ++i) {
    w << "(" << i % 10 << ")" << (i % 20 == 19 ? "\n" : "");
  }
  w << ";\n" << "a";
  for (unsigned i = 0; w.written() < 2 * third; ++i) w << "[1]" << (i % 20 == 19 ? "\n" : "");
  w << ";\n" << "@{0";
  for (unsigned i = 1; w.written() < bytes; ++i) w << ", " << i % 1000 << (i % 20 == 0 ? "\n" : "");
  w << "};\n";
}

// --- nesting: blocks and parentheses close to the parser's stack limit,
// repeated. The parentheses nest to the left, each level adding an operator.
constexpr unsigned nesting_depth = 9000;

void write_nesting(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  const std::string opening_blocks(nesting_depth, '{');
  const std::string closing_blocks(nesting_depth, '}');
  const std::string opening_parentheses(nesting_depth, '(');
  while (w.written() < bytes) {
    w << opening_blocks << "\nx;\n" << closing_blocks << "\n";
    w << "y = " << opening_parentheses << "a";
    for (unsigned i = 0; i < nesting_depth; ++i) w << (i % 2 == 0 ? ") + b" : ") * c");
    w << ";\n";
  }
}

// --- string: one string literal over many lines, with escapes.
void write_string(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  Random random(seed);
  w << "s = \"";
  while (w.written() < bytes) {
    for (unsigned i = 0; i < 12; ++i) w << random.pick(words) << ' ';
    w << (random.chance(20) ? "\\\"quoted\\\" \\n" : "") << "\n";
  }
  w << "\";\n";
}

// --- comment: one block comment over many lines, with stars inside.
void write_comment(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  Random random(seed);
  w << "/*\n";
  while (w.written() < bytes) {
    w << " *";
    for (unsigned i = 0; i < 12; ++i) w << ' ' << random.pick(words);
    w << (random.chance(10) ? " ** / *" : "") << "\n";
  }
  w << " */\nx;\n";
}

// --- nul: NUL bytes inside every kind of comment and literal. Each of the
// seven pieces is one comment or literal a seventh of the size long, in which
// about every other byte is a NUL, so that a lexeme grows with the file.
void write_nul(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  Random random(seed);
  const std::size_t piece = bytes / 7;
  // Words and runs of NULs; a newline now and then where one is allowed.
  const auto body = [&](bool newlines) {
    const std::size_t stop = w.written() + piece;
    for (unsigned i = 1; w.written() < stop; ++i) {
      w << random.pick(words);
      for (unsigned n = 1 + random.below(8); n > 0; --n) w << '\0';
      if (newlines && i % 10 == 0) w << '\n';
    }
  };
  w << "/*";
  body(true);
  w << "*/\n//";
  body(false);
  w << "\n#";
  body(false);
  w << "\ns = \"";
  body(true);
  w << "\";\na = '";
  body(true);
  w << "';\nv = `";
  body(true);
  w << "`;\np = @<<";
  body(false);
  w << ">>;\n";
}

// --- locals: one function with all its locals, eight to a line, their
// initial values of every constant kind.
void write_locals(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  static const char* const values[] = {"0", "1.5", "\"s\"", "'x+1'", "`DROP`", "2.5E-3"};
  w << "declare f(a, b) :";
  for (unsigned i = 0; w.written() < bytes; ++i) {
    w << (i == 0 ? " " : i % 8 == 0 ? ",\n  " : ", ") << "l" << i << "(";
    w << (i % 8 == 7 ? "@<< 1 + >>" : values[i % 6]) << ")";
  }
  w << " {\n  a + b;\n}\nf(1, 2);\n";
}

// --- long_line: comments of one line each, a quarter of the size long: a
// block comment of words, one of stars, and a line comment of each kind.
void write_long_line(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  Random random(seed);
  const std::size_t piece = bytes / 4;
  const auto words_line = [&] {
    const std::size_t stop = w.written() + piece;
    while (w.written() < stop) w << ' ' << random.pick(words);
  };
  w << "/*";
  words_line();
  w << " */\n/* ";
  const std::string stars(4096, '*');
  for (const std::size_t stop = w.written() + piece; w.written() < stop;) w << stars;
  w << "/\n//";
  words_line();
  w << "\n#";
  words_line();
  w << "\nx;\n";
}

// --- escaped: one name made of escape pairs, a quarter of them a backslash
// and a NUL byte.
void write_escaped(std::FILE* out, std::size_t bytes) {
  Writer w(out);
  Random random(seed);
  static const char escaped[] = {'+', '-', ' ', '"', '\\', 'a', '\0', '\0'};
  while (w.written() < bytes) w << '\\' << escaped[random.below(sizeof escaped)];
  w << " = 1;\n";
}

}  // namespace

const std::vector<Shape>& all_shapes() {
  static const std::vector<Shape> shapes = {
      {"realistic", "functions, every statement, expression and literal kind, comments",
       write_realistic},
      {"tiny", "\"x;\" on every line", write_tiny},
      {"chain", "one statement \"x = a + a + a + ...\"", write_chain},
      {"postfix", "chains of calls f(1)(2)..., of indices a[1][1]... and of list items",
       write_postfix},
      {"nesting", "blocks and parentheses 9000 deep, repeated", write_nesting},
      {"string", "one string literal", write_string},
      {"comment", "one block comment", write_comment},
      {"nul", "NUL bytes in one comment or literal of each kind", write_nul},
      {"locals", "one function with all its locals", write_locals},
      {"long_line", "comments of a single line each", write_long_line},
      {"escaped", "one name of escape pairs, some with a NUL byte", write_escaped},
  };
  return shapes;
}

const Shape* find_shape(std::string_view name) {
  for (const Shape& shape : all_shapes()) {
    if (shape.name == name) return &shape;
  }
  return nullptr;
}
