// The RPL of expressions: postfix order, operands first. Each function applies
// one template and consumes the texts it is given.
#pragma once

#include <functional>

#include "rplgen/translate/forms.h"

namespace rplgen {

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
Text* conditional(Text* condition, Text* if_true, Text* if_false);

// Assignments store into a name, or into an element of a variable (elements.h).
// Any other target cannot be assigned (cannot_assign).
Text* store(Store op, Text* target, Text* value);
Text* increment(Text* target);
Text* decrement(Text* target);

// What an assignment to what cannot be assigned does, as the program that parses
// sets it: rplgen writes the statements complete before it and ends the run, as
// for a syntax error; a check reports it and lets the parse go on, its
// translation thrown away. Without it, the run ends.
extern std::function<void()> on_cannot_assign;
void cannot_assign();

// A number literal under unary minus is still known as one (Form::negative_number).
Text* negate(Text* operand);
Text* logical_not(Text* operand);
Text* factorial(Text* operand);

Text* call(Text* function);
Text* call_with_arguments(Text* function, Text* arguments);

// Items of a comma expression or of a list, joined by a comma alone.
Text* comma_join(Text* items, Text* item);
// The items of a vector, list or complex number are copied into the object as they
// are written, except that a negative number literal is written as the calculator
// reads one: "-1", not "1 NEG".
Text* vector_literal(Text* items);
Text* list_literal(Text* items);
Text* empty_list();
Text* complex_literal(Text* real, Text* imaginary);

}  // namespace rplgen
