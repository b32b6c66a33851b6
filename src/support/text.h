// Owned texts: byte strings built by wrapping and joining, such as the RPL
// fragments that a translation hands upward through a parser's value stack.
//
// A text is one heap block: a small header, then its bytes with spare room kept
// before and after them. Bytes are counted, never terminated, so a text may hold
// NUL bytes. A routine that takes a text as an argument consumes it: the caller
// must use only the text it gets back (which may be the same block, grown).
//
// Keeping room at both ends lets a template wrap its largest argument in place,
// so that a chain like "a + b + c + ..." or "f(1)(2)(3)..." is built in time
// linear in its length rather than by copying the growing text at every step.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace rpl {

struct Text;

// The largest text that may be built. Building a larger one is reported as
// exhausted memory (out_of_memory), so that input that makes texts grow
// without bound ends the run instead of taking all the memory there is.
inline constexpr std::size_t max_text_size = std::size_t{1} << 30;

// A new text holding a copy of the bytes.
Text* xstrdup(std::string_view bytes);
// A new text holding a copy of another; the original is left alone.
Text* xstrdup(const Text* text);

std::string_view text_view(const Text* text);
void text_free(Text* text);

// A label that a text's user may give it, to say what the text holds: two
// numbers whose meaning is the user's. Every routine that builds or changes a
// text gives the result the label {0, 0}; passing a text on keeps its label.
struct TextLabel {
  std::uint32_t kind;
  std::uint32_t data;
};
TextLabel text_label(const Text* text);
void set_text_label(Text* text, TextLabel label);

// Appends bytes at the end of the text; consumes the text and returns it.
Text* text_append(Text* text, std::string_view bytes);
// Appends another text, which it consumes as well.
Text* text_append(Text* text, Text* more);
// Appends the bytes and then another text, making room once: the step that
// adds an item to a separated list.
Text* text_append(Text* text, std::string_view bytes, Text* more);

// Keeps the first `size` bytes of the text (no more than it has) and drops the
// rest, in place; consumes the text and returns it.
Text* text_truncate(Text* text, std::size_t size);

// A template: bytes to copy, with "%s" where the next argument's text goes, "%%"
// for one "%"; any other "%" pair is dropped. Templates are literals of the
// program, split into their pieces when it is compiled, so that expanding one
// only copies. A template holds at least one "%s": a text without any is made
// with xstrdup.
class Template {
 public:
  struct Piece {
    std::string_view literal;  // the bytes, for a literal piece
    int argument;              // the argument's place among the "%s", or -1
  };

  consteval Template(const char* tmpl) {
    const std::string_view text(tmpl);
    std::size_t start = 0;  // of the literal bytes not yet made a piece
    const auto add_literal = [&](std::size_t stop) {
      if (stop > start) add({text.substr(start, stop - start), -1});
    };
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] != '%' || i + 1 == text.size()) {
        ++i;
        continue;
      }
      add_literal(i);
      if (text[i + 1] == 's') {
        if (arguments_ == max_arguments) throw "a template of too many arguments";
        argument_pieces_[arguments_] = size_;
        add({{}, static_cast<int>(arguments_++)});
        start = i + 2;
      } else {
        start = text[i + 1] == '%' ? i + 1 : i + 2;  // "%%" keeps its second "%"
      }
      i += 2;
    }
    add_literal(text.size());
    if (arguments_ == 0) throw "a template holds at least one %s";
  }

  const Piece* begin() const { return pieces_.data(); }
  const Piece* end() const { return pieces_.data() + size_; }
  std::size_t size() const { return size_; }
  std::size_t arguments() const { return arguments_; }
  // The piece of the argument at `place` among the arguments.
  const Piece* piece_of(std::size_t place) const { return begin() + argument_pieces_[place]; }
  // The bytes of the literal pieces, together.
  std::size_t literal_size() const { return literal_size_; }

 private:
  static constexpr std::size_t max_pieces = 16;
  static constexpr std::size_t max_arguments = 8;

  constexpr void add(Piece piece) {
    if (size_ == max_pieces) throw "a template of too many pieces";
    pieces_[size_++] = piece;
    literal_size_ += piece.literal.size();
  }

  std::array<Piece, max_pieces> pieces_{};
  std::array<std::uint8_t, max_arguments> argument_pieces_{};
  std::size_t size_ = 0;
  std::size_t arguments_ = 0;
  std::size_t literal_size_ = 0;
};

// Expands a template with the texts of an array: every argument is consumed.
// A "%s" beyond the arguments stands for nothing; arguments beyond the "%s"
// are dropped.
Text* xstrfmt_array(const Template& tmpl, Text* const* args, std::size_t count);

template <class... Texts>
Text* xstrfmt(const Template& tmpl, Texts*... args) {
  const std::array<Text*, sizeof...(Texts)> list{args...};
  return xstrfmt_array(tmpl, list.data(), list.size());
}

// Joins the texts in order with nothing between them; every text is consumed.
Text* xstrcat_array(Text* const* texts, std::size_t count);

template <class... Texts>
Text* xstrcat_list(Text* first, Texts*... rest) {
  const std::array<Text*, 1 + sizeof...(Texts)> list{first, rest...};
  return xstrcat_array(list.data(), list.size());
}

// Ownership of a text outside the parser's value stack.
struct TextFree {
  void operator()(Text* text) const { text_free(text); }
};
using TextPtr = std::unique_ptr<Text, TextFree>;

}  // namespace rpl
