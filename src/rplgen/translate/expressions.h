// The RPL of expressions: postfix order, operands first. Each function applies
// one template and consumes the texts it is given.
#pragma once

#include "support/text.h"

namespace rplgen {

using rpl::Text;

// ORDER Binary: the templates in expressions.cpp follow this order, which
// static assertions there check.
enum class Binary {
  power, multiply, divide, modulo, add, subtract,
  less, greater, less_equal, greater_equal, equal, not_equal,
  ampersand, caret, bar, logical_and, logical_or,
};
inline constexpr int binary_count = static_cast<int>(Binary::logical_or) + 1;

// ORDER Store: as for Binary.
enum class Store {
  plain, add, subtract, multiply, divide,  // STO and its variants
  modulo, ampersand, caret, bar,           // compute, then STO
};
inline constexpr int store_count = static_cast<int>(Store::bar) + 1;

Text* binary(Binary op, Text* left, Text* right);
Text* store(Store op, Text* target, Text* value);
Text* conditional(Text* condition, Text* if_true, Text* if_false);

Text* negate(Text* operand);
Text* logical_not(Text* operand);
Text* increment(Text* target);
Text* decrement(Text* target);
Text* factorial(Text* operand);

Text* index_expr(Text* indexed, Text* index);
Text* call(Text* function);
Text* call_with_arguments(Text* function, Text* arguments);

// Items of a comma expression or of a list, joined by a comma alone.
Text* comma_join(Text* items, Text* item);
Text* vector_literal(Text* items);
Text* list_literal(Text* items);
Text* empty_list();
Text* complex_literal(Text* real, Text* imaginary);

}  // namespace rplgen
