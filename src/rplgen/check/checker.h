// The checker: told of every token and every reduction of the checking parse,
// it keeps the spans of the constructs, sets the origin of the RPL that each
// construct's template writes, and finds the warnings and the syntax error.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "rplgen/check/compile.h"
#include "rplgen/check/span.h"

namespace rplgen::check {

// The constructs of the grammar that the checker tells apart; the parser names
// each reduction by one of them.
enum class Construct {
  other,  // looked at for nothing but its span
  name,
  constant,
  parenthesis,
  factorial,
  vector_literal,
  list_literal,
  empty_list,
  complex_literal,
  first_item,  // of a comma-separated list
  next_item,
  index,
  call,  // f() and f(arguments)
  postfix_step,  // x++ and x--
  prefix_step,   // ++x and --x
  unary_plus,
  negation,
  logical_not,
  binary,      // the operator is the second part's token
  conditional,
  assignment,  // the operator is the second part's token
  comma,
  function_keyword,
  local_declaration,
  function,  // with parameters (the fourth part) or without
  condition_statement,  // if, while, switch: the condition is the third part
  do_while,
  for_loop,  // the condition is the fifth part, when there is one
  expression_statement,
  element_store,
  list_store,
  first_clause,
  next_clause,
  case_clause,
  default_clause,
};

class Checker {
 public:
  Checker(std::string_view source, const CommandTest& is_command)
      : source_(source), is_command_(is_command) {}

  // A token from the scanner, with its code and place; `code` 0 is the end of
  // the input.
  Span token(int code, std::uint32_t begin, std::uint32_t end);

  // A reduction: parts rhs[1] to rhs[n]; rhs[0] is the symbol below them.
  Span reduce(Construct construct, const Span* rhs, int n);

  // The parse stops at `at`, a token that none of `expected` (token codes, 0
  // for the end of the input) would have been.
  void syntax_error(const Span& at, const std::vector<int>& expected);
  void stack_overflow();
  // The construct being reduced assigns to what cannot be assigned. The parse goes
  // on, but what follows is not reported: rplgen stops there.
  void cannot_assign();

  // After a parse that accepted the source: the checks that need all of it.
  void finish();

  bool failed() const { return failed_; }
  std::vector<Diagnostic> take_diagnostics();

 private:
  struct Scope {
    std::set<std::string> own;  // parameters and locals
    std::vector<std::pair<std::string, std::uint32_t>> assigned;
  };
  struct Call {
    std::string name;
    std::uint32_t offset;
  };

  std::string name_of(const Span& span) const;
  // Neither reports anything after the first error.
  void warn(std::uint32_t offset, std::string message);
  void fail(std::uint32_t offset, std::string message);
  // A value is wanted from the construct.
  void use_value(const Span& span);
  void warn_bitwise(const Span& op);
  // A name is given a value: a variable, a parameter, a local or a function.
  // `assigned`: by an assignment, inside the function being read if any.
  void define(const Span& span, bool assigned);
  void check_name(const std::string& name, std::uint32_t offset);
  void check_item(const Span& item, std::string_view literal);
  void check_items(const Span& list, std::string_view literal);
  void check_program_literal(const Span& span);
  // Whether the word is one that C programmers write as a statement (and then
  // warns of it).
  bool check_plain_word(const std::string& word, std::uint32_t offset);
  void close_function(const Span& name, const Span* parameters);

  std::string_view source_;
  const CommandTest& is_command_;
  std::vector<Diagnostic> diagnostics_;
  bool failed_ = false;
  std::uint32_t last_end_ = 0;  // of the last token read
  Span last_;                   // the last token read
  Span reduced_;                // the construct reduced last
  Span previous_;               // the one before it
  std::vector<Span> open_brackets_;
  std::vector<std::vector<Span>> lists_;
  std::vector<Scope> scopes_;
  std::set<std::string> defined_;
  std::set<std::string> name_warned_;
  std::vector<Call> calls_;
};

}  // namespace rplgen::check
