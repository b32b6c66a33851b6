#include "rplgen/translate/elements.h"

#include <charconv>
#include <string>

namespace rplgen {

using rpl::TextPtr;
using rpl::text_truncate;
using rpl::text_view;
using rpl::xstrdup;
using rpl::xstrfmt;

namespace {

// An element's record: how its text is laid out.
//
//   algebraic  'B(RAW)' EVAL           a named variable, indices of names and numbers
//   depth 1    B I GET
//   depth 2    B I1 I2 PAIR_GET
//   depth n    B I1 DUP2 GET ... In-2 DUP2 GET In-1 In PAIR_GET CLEANUP(n)
//
// B is the indexed object's RPL and each I the RPL of one index object. The deeper
// forms keep every object they index on the stack (and CLEANUP(n) drops them), so
// that a store differs from a read only in its two ends.
enum Field : std::uint32_t {
  flags,
  raw_items,    // the algebraic form: how many indices RAW holds
  base_begin,
  base_end,
  depth,
  inner_begin,  // the last index but one
  inner_end,
  outer_begin,  // the last index (RAW in the algebraic form)
  outer_end,
  field_count,
};
enum Flag : std::uint32_t { named = 1, algebraic = 2 };

// The last two indices of a chain: one element of a list each, or, on a matrix,
// the element of both.
constexpr std::string_view pair_get =
    " 3 PICK TYPE 5 == \\<< ROT ROT GET SWAP GET \\>> \\<< 2 \\->LIST GET \\>> IFTE";

struct Layout {
  std::uint32_t values[field_count];
  std::uint32_t operator[](Field field) const { return values[field]; }
};

Layout layout_of(const Text* element) {
  Layout layout;
  const std::uint32_t* values = record_values(form_data(element));
  for (std::uint32_t k = 0; k < field_count; ++k) layout.values[k] = values[k];
  return layout;
}

// Gives the text the form of an element, in the record given or a new one.
Text* as_element(Text* text, Record record, const Layout& layout) {
  if (record == no_record) record = new_record(field_count);
  std::uint32_t* values = record_values(record);
  for (std::uint32_t k = 0; k < field_count; ++k) values[k] = layout.values[k];
  return with_form(text, Form::element, record);
}

auto size_of(const Text* text) { return static_cast<std::uint32_t>(text_view(text).size()); }

std::string_view part(const Text* element, const Layout& layout, Field begin, Field end) {
  return text_view(element).substr(layout[begin], layout[end] - layout[begin]);
}

Text* decimal(std::uint32_t n) { return xstrdup(std::string_view(std::to_string(n))); }

// One object on the stack for the index: a list of several indices becomes a list.
Text* index_object(Text* index, std::uint32_t items) {
  if (items == 1) return index;
  return xstrfmt("%s %s \\->LIST", index, decimal(items));
}

// What the deeper forms leave below the element, dropped.
void append_cleanup(std::string& out, std::uint32_t depth) {
  if (depth < 3) return;
  const std::uint32_t kept = 2 * (depth - 2);
  char digits[16];
  const auto number = [&](std::uint32_t n) {
    return std::string_view(digits, static_cast<std::size_t>(
                                        std::to_chars(digits, digits + sizeof digits, n).ptr - digits));
  };
  out.append(" ").append(number(kept + 1)).append(" ROLLD ");
  out.append(number(kept)).append(" DROPN");
}

// Cuts the element's text after `keep` bytes and appends the tail. A chain grows
// at its end, so that a long chain is built in time linear in its length.
Text* cut_and_append(Text* element, std::uint32_t keep, const std::string& tail) {
  return rpl::text_append(text_truncate(element, keep), tail);
}

// The element one index deeper than `element`.
Text* deeper(Text* element, Text* index) {
  const Record record = form_data(element);
  Layout layout = layout_of(element);
  Text* next = index_object(index, items_of(index));
  const std::uint32_t next_size = size_of(next);
  Text* result = nullptr;
  if (layout[flags] & algebraic) {
    Text* first = xstrdup(part(element, layout, outer_begin, outer_end));
    Text* base = xstrdup(part(element, layout, base_begin, base_end));
    rpl::text_free(element);
    Text* inner = index_object(first, layout[raw_items]);
    const std::uint32_t base_size = size_of(base);
    const std::uint32_t inner_size = size_of(inner);
    result = xstrfmt("%s %s %s%s", base, inner, next, xstrdup(pair_get));
    layout.values[flags] = named;
    layout.values[base_begin] = 0;
    layout.values[base_end] = base_size;
    layout.values[inner_begin] = base_size + 1;
    layout.values[inner_end] = base_size + 1 + inner_size;
  } else {
    // Kept from one call to the next, so that a chain allocates nothing here.
    static std::string tail;
    tail.clear();
    std::uint32_t keep = layout[outer_end];
    if (layout[depth] == 1) {
      layout.values[inner_begin] = layout[outer_begin];
      layout.values[inner_end] = layout[outer_end];
    } else {
      const std::string_view last = part(element, layout, outer_begin, outer_end);
      keep = layout[inner_end];
      tail.append(" DUP2 GET ").append(last);
      layout.values[inner_begin] = keep + static_cast<std::uint32_t>(sizeof " DUP2 GET " - 1);
      layout.values[inner_end] = layout[inner_begin] + static_cast<std::uint32_t>(last.size());
    }
    tail.append(" ").append(text_view(next)).append(pair_get);
    append_cleanup(tail, layout[depth] + 1);
    rpl::text_free(next);
    result = cut_and_append(element, keep, tail);
  }
  layout.values[depth] += 1;
  layout.values[outer_begin] = layout[inner_end] + 1;
  layout.values[outer_end] = layout[outer_begin] + next_size;
  return as_element(result, record, layout);
}

// A value combined with the element's own: the element's value, then the value, then
// the word. The element is at level 3, its index at level 2 and the value at level 1.
Text* put_tail(std::string_view combine) {
  if (combine.empty()) return xstrdup(std::string_view{"PUT"});
  return xstrfmt("3 PICK 3 PICK GET SWAP %s PUT", xstrdup(combine));
}

}  // namespace

Text* index_expr(Text* indexed, Text* index) {
  if (form_of(indexed) == Form::element) return deeper(indexed, index);
  const bool is_named = form_of(indexed) == Form::name;
  Layout layout{};
  layout.values[flags] = is_named ? std::uint32_t{named} : 0u;
  layout.values[depth] = 1;
  const std::uint32_t base_size = size_of(indexed);
  Text* result = nullptr;
  if (is_named && is_name_or_number(index)) {
    // 'B(RAW)' EVAL
    layout.values[flags] |= algebraic;
    layout.values[raw_items] = items_of(index);
    layout.values[base_begin] = 1;
    layout.values[base_end] = 1 + base_size;
    layout.values[outer_begin] = base_size + 2;
    layout.values[outer_end] = base_size + 2 + size_of(index);
    result = xstrfmt("'%s(%s)' EVAL", indexed, index);
  } else {
    // B I GET
    Text* object = index_object(index, items_of(index));
    layout.values[base_end] = base_size;
    layout.values[outer_begin] = base_size + 1;
    layout.values[outer_end] = base_size + 1 + size_of(object);
    result = xstrfmt("%s %s GET", indexed, object);
  }
  return as_element(result, no_record, layout);
}

bool is_stored_element(const Text* element) {
  return form_of(element) == Form::element && (layout_of(element)[flags] & named) != 0;
}

Text* store_into_element(Text* element, Text* value, std::string_view combine) {
  const Layout layout = layout_of(element);
  const TextPtr read(element);
  if (layout[flags] & algebraic) {
    // The algebraic names the element: 'v(k)' STO stores into it.
    Text* name = xstrdup(text_view(read.get()).substr(0, layout[outer_end] + 2));
    if (combine.empty()) return xstrfmt("%s %s STO", value, name);
    return xstrfmt("%s DUP EVAL %s %s SWAP STO", name, value, xstrdup(combine));
  }
  Text* base = xstrdup(part(element, layout, base_begin, base_end));
  if (layout[depth] == 1) {
    Text* index = xstrdup(part(element, layout, outer_begin, outer_end));
    return xstrfmt("'%s' %s %s %s", base, index, value, put_tail(combine));
  }
  // The variable's object, each object on the way down, the last two indices and the
  // value; then each object is put back into the one it came from, and the variable's
  // object is stored.
  Text* path = xstrdup(part(element, layout, base_end, outer_end));
  Text* tail = put_tail(combine);
  Text* put_pair = xstrfmt(
      " 4 PICK TYPE 5 == \\<< 4 PICK 4 PICK GET ROT ROT %s PUT \\>> \\<< ROT ROT 2 "
      "\\->LIST SWAP %s \\>> IFTE",
      xstrdup(tail), tail);
  std::string put_back;
  for (std::uint32_t k = 2; k < layout[depth]; ++k) put_back += " PUT";
  return xstrfmt("'%s' RCL%s %s%s%s '%s' STO", xstrdup(base), path, value, put_pair,
                 xstrdup(std::string_view(put_back)), base);
}

Text* element_store(Text* name, Text* indices, Text* value) {
  if (is_name_or_number(indices)) return xstrfmt("%s '%s(%s)' STO\n", value, name, indices);
  return xstrfmt("'%s' %s %s PUT\n", name, index_object(indices, items_of(indices)), value);
}

}  // namespace rplgen
