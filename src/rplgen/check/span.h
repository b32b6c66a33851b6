// The location of every symbol on the checking parser's stack: where the
// construct stands in the source, and what the checker knows of it.
#pragma once

#include <cstdint>
#include <type_traits>

namespace rplgen::check {

// What the checker knows of a construct, as bits of Span::facts.
enum Fact : std::uint32_t {
  keyable = 1u << 0,         // a token that names its construct: an operator or a keyword
  leaves_nothing = 1u << 1,  // an assignment, ++ or --: nothing is left on the stack
  negated = 1u << 2,         // a unary minus, not in parentheses
  negative_number = 1u << 3, // a unary minus applied directly to a number
  composite = 1u << 4,       // a vector, list or complex literal
  has_default = 1u << 5,     // case clauses: one of them is 'default'
  is_default = 1u << 6,      // a 'default' clause
  default_warned = 1u << 7,  // case clauses: a 'default' before a 'case' was reported
};

struct Span {
  std::uint32_t begin = 0;  // source offset of the first byte
  std::uint32_t end = 0;    // one past the last byte
  // Where the construct is named: its operator or keyword, else its first byte.
  // The RPL that the construct's template writes gets this origin.
  std::uint32_t key = 0;
  // A token, or a construct that is one token in the end (a name, a number):
  // the token's code. Otherwise 0.
  int token = 0;
  std::uint32_t facts = 0;
  std::uint32_t items = 0;  // a list of items: its number among the checker's lists, plus 1
  // With leaves_nothing: the operator of the assignment, ++ or -- that leaves nothing.
  std::uint32_t nothing_at = 0;
};
// The parser's stacks of spans grow by copying bytes.
static_assert(std::is_trivially_copyable_v<Span>);

}  // namespace rplgen::check
