// The words of a syntax error: what the parser stopped at, named as a person
// reads it (a stray character, an unterminated literal, a carriage return),
// and what would have been accepted there, from the parser's own list.
#pragma once

#include <string_view>
#include <vector>

#include "rplgen/check/compile.h"
#include "rplgen/check/span.h"

namespace rplgen::check {

struct SyntaxErrorPlace {
  std::string_view source;
  Span at;        // the token the parse stopped at; token 0: the end of the input
  Span previous;  // the token before it
  const std::vector<Span>& open_brackets;  // not closed yet, innermost last
};

// The error, and the notes that go with it.
std::vector<Diagnostic> describe_syntax_error(const SyntaxErrorPlace& place,
                                              const std::vector<int>& expected);

}  // namespace rplgen::check
