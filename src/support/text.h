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

// Keeps the first `size` bytes of the text (no more than it has) and drops the
// rest, in place; consumes the text and returns it.
Text* text_truncate(Text* text, std::size_t size);

// Each routine that takes several texts comes in two forms: one that takes
// them as arguments (xstrfmt, xstrcat_list) and one that takes an array and
// its length (xstrfmt_array, xstrcat_array).

// Expands a template: every "%s" is replaced by the next argument, "%%" by one
// "%", and any other "%" pair is dropped. Every argument is consumed.
Text* xstrfmt_array(std::string_view tmpl, Text* const* args, std::size_t count);

template <class... Texts>
Text* xstrfmt(std::string_view tmpl, Texts*... args) {
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
