// What the translation of the constructs around an expression needs to know of
// it: its form, kept as the label of its text (support/text.h). The text is
// always the whole RPL of the expression; the form only describes it. A text
// passed on as it is keeps its form; a text built anew has the form `other`.
#pragma once

#include <cstdint>

#include "rplgen/translate/records.h"
#include "support/text.h"

namespace rplgen {

using rpl::Text;

enum class Form : std::uint32_t {
  other,
  name,             // a name, in parentheses or not
  number,           // a number literal
  negative_number,  // a number literal under unary minus: "N NEG"
  simple_items,     // names and numbers joined by commas, "j,1"; how many they are
  items,            // other items joined by commas; how many they are
  negative_items,   // items joined by commas, some negative numbers; a record says
                    // how many they are and where those start
  element,          // an element of an indexed expression; a record holds its parts
};

inline Form form_of(const Text* text) { return static_cast<Form>(rpl::text_label(text).kind); }

// The form's number: how many items, or the record.
inline std::uint32_t form_data(const Text* text) { return rpl::text_label(text).data; }

inline Text* with_form(Text* text, Form form, std::uint32_t data = 0) {
  rpl::set_text_label(text, {static_cast<std::uint32_t>(form), data});
  return text;
}

// How many items the comma forms joined: 1 for any other expression.
inline std::uint32_t items_of(const Text* text) {
  switch (form_of(text)) {
    case Form::simple_items:
    case Form::items: return form_data(text);
    case Form::negative_items: return record_values(form_data(text))[0];
    default: return 1;
  }
}

// Names and numbers, alone or joined by commas: what the calculator's algebraic
// form of an element takes as its indices.
inline bool is_name_or_number(const Text* text) {
  const Form form = form_of(text);
  return form == Form::name || form == Form::number || form == Form::simple_items;
}

}  // namespace rplgen
