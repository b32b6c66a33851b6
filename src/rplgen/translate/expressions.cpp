#include "rplgen/translate/expressions.h"

#include <cstddef>
#include <string>

#include "rplgen/translate/elements.h"
#include "support/diagnostics.h"

namespace rplgen {

using rpl::text_truncate;
using rpl::text_view;
using rpl::xstrdup;
using rpl::xstrfmt;

namespace {

struct BinaryTemplate {
  Binary op;
  rpl::Template tmpl;
};

// Indexed by Binary: each entry names its operator, so that the order can be
// checked.
constexpr BinaryTemplate binary_templates[] = {
    {Binary::power, "%s %s ^"},
    {Binary::multiply, "%s %s *"},
    {Binary::divide, "%s %s /"},
    {Binary::modulo, "%s %s MOD"},
    {Binary::add, "%s %s +"},
    {Binary::subtract, "%s %s -"},
    {Binary::less, "%s %s <"},
    {Binary::greater, "%s %s >"},
    {Binary::less_equal, "%s %s \\<="},
    {Binary::greater_equal, "%s %s \\>="},
    {Binary::equal, "%s %s =="},
    {Binary::not_equal, "%s %s \\=/"},
    {Binary::ampersand, "%s %s &"},
    {Binary::caret, "%s %s ^"},
    {Binary::bar, "%s %s |"},
    {Binary::logical_and, "%s %s AND"},
    {Binary::logical_or, "%s %s OR"},
};

// How a store's template takes the target's text and the value's.
enum class StoreForm {
  value_first,  // value, then the quoted target
  name_first,   // the quoted target, then the value
  computes,     // a copy of the target, the value, then the quoted target
};

struct StoreTemplate {
  Store op;
  rpl::Template tmpl;
  StoreForm form;
  const char* combine;  // the word that combines an element's value with the value
};

// Indexed by Store.
//
// The calculator's STO+ STO- STO* STO/ take the name and the value in either
// order and compute "level 2 op level 1" with the variable's contents for its
// name: "10 'A' STO-" stores 10 - A. With the name first they compute what the
// source says, A - 10.
constexpr StoreTemplate store_templates[] = {
    {Store::plain, "%s '%s' STO", StoreForm::value_first, ""},
    {Store::add, "'%s' %s STO+", StoreForm::name_first, "+"},
    {Store::subtract, "'%s' %s STO-", StoreForm::name_first, "-"},
    {Store::multiply, "'%s' %s STO*", StoreForm::name_first, "*"},
    {Store::divide, "'%s' %s STO/", StoreForm::name_first, "/"},
    {Store::modulo, "%s %s MOD '%s' STO", StoreForm::computes, "MOD"},
    {Store::ampersand, "%s %s & '%s' STO", StoreForm::computes, "&"},
    {Store::caret, "%s %s ^ '%s' STO", StoreForm::computes, "^"},
    {Store::bar, "%s %s | '%s' STO", StoreForm::computes, "|"},
};

// Every table has one entry per operator, at the operator's own index.
template <class Entry, std::size_t size>
constexpr bool in_enum_order(const Entry (&table)[size], int count) {
  if (static_cast<int>(size) != count) return false;
  for (std::size_t i = 0; i < size; ++i) {
    if (static_cast<std::size_t>(table[i].op) != i) return false;
  }
  return true;
}
static_assert(in_enum_order(binary_templates, binary_count));
static_assert(in_enum_order(store_templates, store_count));

}  // namespace

Text* binary(Binary op, Text* left, Text* right) {
  return xstrfmt(binary_templates[static_cast<int>(op)].tmpl, left, right);
}

std::function<void()> on_cannot_assign;

void cannot_assign() {
  if (!on_cannot_assign) rpl::fatal(1, "cannot assign to this expression");
  on_cannot_assign();
}

// A name goes inside the quotes. The computed forms copy it, so that each nested
// "%=" doubles the text: the texts' size limit (rpl::max_text_size) ends such a
// source as exhausted memory instead of letting it take all the memory there is.
namespace {

// What stands for an assignment that cannot be made, when the parse goes on.
Text* not_assigned(Text* target, Text* value) {
  cannot_assign();
  return xstrfmt("%s %s", value, target);
}

}  // namespace

Text* store(Store op, Text* target, Text* value) {
  const StoreTemplate& store = store_templates[static_cast<int>(op)];
  if (is_stored_element(target)) return store_into_element(target, value, store.combine);
  if (form_of(target) != Form::name) return not_assigned(target, value);
  if (store.form == StoreForm::computes) {
    return xstrfmt(store.tmpl, xstrdup(target), value, target);
  }
  if (store.form == StoreForm::name_first) return xstrfmt(store.tmpl, target, value);
  return xstrfmt(store.tmpl, value, target);
}

Text* increment(Text* target) {
  if (is_stored_element(target)) return store_into_element(target, xstrdup("1"), "+");
  if (form_of(target) != Form::name) return not_assigned(target, xstrdup("1"));
  return xstrfmt("'%s' 1 STO+", target);
}

Text* decrement(Text* target) {
  if (is_stored_element(target)) return store_into_element(target, xstrdup("1"), "-");
  if (form_of(target) != Form::name) return not_assigned(target, xstrdup("1"));
  return xstrfmt("'%s' 1 STO-", target);
}

// Both branches are RPL code, so the conditional is an IF structure.
Text* conditional(Text* condition, Text* if_true, Text* if_false) {
  return xstrfmt("IF %s\nTHEN %s\nELSE %s\nEND\n", condition, if_true, if_false);
}

Text* negate(Text* operand) {
  const bool number = form_of(operand) == Form::number;
  Text* negated = xstrfmt("%s NEG", operand);
  return number ? with_form(negated, Form::negative_number) : negated;
}

Text* logical_not(Text* operand) { return xstrfmt("%s NOT", operand); }
Text* factorial(Text* operand) { return xstrfmt("%s !", operand); }

// The leading blank stays in front of a call wherever it ends up.
Text* call(Text* function) { return xstrfmt(" %s", function); }

Text* call_with_arguments(Text* function, Text* arguments) {
  return xstrfmt(" %s %s", arguments, function);
}

namespace {

constexpr std::string_view negation = " NEG";

// "N NEG" becomes "-N".
Text* negative_literal(Text* negated) {
  const auto size = text_view(negated).size();
  return xstrfmt("-%s", text_truncate(negated, size - negation.size()));
}

// Items as the calculator reads them inside an object: each negative number
// literal, recorded where it starts, written with its sign.
Text* literal_items(Text* items) {
  const Form form = form_of(items);
  if (form == Form::negative_number) return negative_literal(items);
  if (form != Form::negative_items) return items;
  const Record record = form_data(items);
  const rpl::TextPtr joined(items);
  const std::string_view text = text_view(joined.get());
  std::string written;
  written.reserve(text.size());
  std::size_t copied = 0;
  // The record holds the number of items, then where each negative number starts.
  for (std::uint32_t k = 1; k < record_size(record); ++k) {
    const std::size_t start = record_values(record)[k];
    const std::size_t end = text.find(' ', start);  // a number holds no blank
    written.append(text.substr(copied, start - copied)).append("-");
    written.append(text.substr(start, end - start));
    copied = end + negation.size();
  }
  written.append(text.substr(copied));
  return xstrdup(std::string_view(written));
}

}  // namespace

// The joined items remember how many they are, whether they are all names and
// numbers, and where the negative number literals among them start.
Text* comma_join(Text* items, Text* item) {
  const std::uint32_t count = items_of(items) + items_of(item);
  const bool simple = is_name_or_number(items) && is_name_or_number(item);
  const Form items_form = form_of(items);
  Record negatives = items_form == Form::negative_items ? form_data(items) : no_record;
  if (items_form == Form::negative_number) negatives = record_append(new_record(1), 0);
  if (form_of(item) == Form::negative_number) {
    if (negatives == no_record) negatives = new_record(1);
    negatives = record_append(negatives, static_cast<std::uint32_t>(text_view(items).size() + 1));
  }
  Text* joined = xstrfmt("%s,%s", items, item);
  if (negatives != no_record) {
    record_values(negatives)[0] = count;
    return with_form(joined, Form::negative_items, negatives);
  }
  return with_form(joined, simple ? Form::simple_items : Form::items, count);
}

Text* vector_literal(Text* items) { return xstrfmt("[%s]", literal_items(items)); }
Text* list_literal(Text* items) { return xstrfmt("{%s}", literal_items(items)); }
Text* empty_list() { return xstrdup(std::string_view{"{}"}); }

Text* complex_literal(Text* real, Text* imaginary) {
  return xstrfmt("(%s,%s)", literal_items(real), literal_items(imaginary));
}

}  // namespace rplgen
