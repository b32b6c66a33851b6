// Owned texts: the RPL fragments that the translation builds and hands upward
// through the parser's value stack.
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
#include <memory>
#include <string_view>

struct Text;

// The largest text the translation builds. A program this large is far beyond
// any calculator; reaching it can only mean a source whose translation grows
// without bound (each "%=" doubles its target's text), and it is reported as
// exhausted memory.
inline constexpr std::size_t max_text_size = std::size_t{1} << 30;

// A new text holding a copy of the bytes.
Text* xstrdup(std::string_view bytes);
// A new text holding a copy of another; the original is left alone.
Text* xstrdup(const Text* text);

std::string_view text_view(const Text* text);
void text_free(Text* text);

// Appends bytes at the end of the text; consumes the text and returns it.
Text* text_append(Text* text, std::string_view bytes);

// Expands a template: every "%s" is replaced by the next argument, "%%" by one
// "%", and any other "%" pair is dropped. Every argument is consumed.
Text* xstrfmt_list(std::string_view tmpl, Text* const* args, std::size_t count);

template <class... Texts>
Text* xstrfmt(std::string_view tmpl, Texts*... args) {
  const std::array<Text*, sizeof...(Texts)> list{args...};
  return xstrfmt_list(tmpl, list.data(), list.size());
}

// Joins the texts in order with nothing between them; every text is consumed.
Text* xstrcat_array(Text* const* texts, std::size_t count);

template <class... Texts>
Text* xstrcat_list(Text* first, Texts*... rest) {
  const std::array<Text*, 1 + sizeof...(Texts)> list{first, rest...};
  return xstrcat_array(list.data(), list.size());
}

// The number of commas in the text plus one, wherever the commas stand.
long count_items(const Text* text);

// Ownership of a text outside the parser's value stack.
struct TextFree {
  void operator()(Text* text) const { text_free(text); }
};
using TextPtr = std::unique_ptr<Text, TextFree>;
