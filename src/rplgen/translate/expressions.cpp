#include "rplgen/translate/expressions.h"

#include <cstddef>

namespace rplgen {

using rpl::xstrdup;
using rpl::xstrfmt;

namespace {

struct BinaryTemplate {
  Binary op;
  const char* tmpl;
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
  const char* tmpl;
  StoreForm form;
};

// Indexed by Store.
//
// The calculator's STO+ STO- STO* STO/ take the name and the value in either
// order and compute "level 2 op level 1" with the variable's contents for its
// name: "10 'A' STO-" stores 10 - A. With the name first they compute what the
// source says, A - 10.
constexpr StoreTemplate store_templates[] = {
    {Store::plain, "%s '%s' STO", StoreForm::value_first},
    {Store::add, "'%s' %s STO+", StoreForm::name_first},
    {Store::subtract, "'%s' %s STO-", StoreForm::name_first},
    {Store::multiply, "'%s' %s STO*", StoreForm::name_first},
    {Store::divide, "'%s' %s STO/", StoreForm::name_first},
    {Store::modulo, "%s %s MOD '%s' STO", StoreForm::computes},
    {Store::ampersand, "%s %s & '%s' STO", StoreForm::computes},
    {Store::caret, "%s %s ^ '%s' STO", StoreForm::computes},
    {Store::bar, "%s %s | '%s' STO", StoreForm::computes},
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

// The target's text goes inside the quotes as it is, whatever it is. The
// computed forms copy it, so that each nested "%=" doubles the text: the texts'
// size limit (rpl::max_text_size) ends such a source as exhausted memory
// instead of letting it take all the memory there is.
Text* store(Store op, Text* target, Text* value) {
  const StoreTemplate& store = store_templates[static_cast<int>(op)];
  if (store.form == StoreForm::computes) {
    return xstrfmt(store.tmpl, xstrdup(target), value, target);
  }
  if (store.form == StoreForm::name_first) return xstrfmt(store.tmpl, target, value);
  return xstrfmt(store.tmpl, value, target);
}

// Both branches are RPL code, so the conditional is an IF structure.
Text* conditional(Text* condition, Text* if_true, Text* if_false) {
  return xstrfmt("IF %s\nTHEN %s\nELSE %s\nEND\n", condition, if_true, if_false);
}

Text* negate(Text* operand) { return xstrfmt("%s NEG", operand); }
Text* logical_not(Text* operand) { return xstrfmt("%s NOT", operand); }
Text* increment(Text* target) { return xstrfmt("'%s' 1 STO+", target); }
Text* decrement(Text* target) { return xstrfmt("'%s' 1 STO-", target); }
Text* factorial(Text* operand) { return xstrfmt("%s !", operand); }

// v[i] names the element as an algebraic, 'v(i)', and evaluates it.
Text* index_expr(Text* indexed, Text* index) {
  return xstrfmt("'%s(%s)' EVAL", indexed, index);
}

// The leading blank stays in front of a call wherever it ends up.
Text* call(Text* function) { return xstrfmt(" %s", function); }

Text* call_with_arguments(Text* function, Text* arguments) {
  return xstrfmt(" %s %s", arguments, function);
}

Text* comma_join(Text* items, Text* item) { return xstrfmt("%s,%s", items, item); }
Text* vector_literal(Text* items) { return xstrfmt("[%s]", items); }
Text* list_literal(Text* items) { return xstrfmt("{%s}", items); }
Text* empty_list() { return xstrdup(std::string_view{"{}"}); }

Text* complex_literal(Text* real, Text* imaginary) {
  return xstrfmt("(%s,%s)", real, imaginary);
}

}  // namespace rplgen
