// Algebraics: read from infix text into postfix items, printed back in infix with only
// the parentheses needed, and built from the operands of a command.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/number_format.h"
#include "objects/object.h"
#include "objects/text_sink.h"

namespace rplrun {

// What the infix reader needs from the program around it.
class AlgebraicScope {
 public:
  virtual ~AlgebraicScope() = default;
  virtual bool is_local(const Symbol* symbol) const = 0;
};

// The postfix items of the infix text (the text between the quotes). On an error,
// returns false and sets `error_at` to the offset in `text` where reading failed.
bool read_infix(std::string_view text, char fraction_mark, const AlgebraicScope& scope,
                std::vector<Object>& postfix, std::size_t& error_at);

// The infix text of postfix items, without the quotes; no more than `out` wants.
void append_infix(TextSink& out, std::span<const Object> postfix, const DisplayMode& mode);

// How a whole algebraic binds inside a larger one, and whether it is one piece with
// every operand there (so that it stays one piece whatever is put around it).
struct InfixShape {
  std::uint8_t precedence;
  bool well_formed;
};
InfixShape infix_shape(std::span<const Object> postfix, const DisplayMode& mode);

// The same, the run of `count` items from `from` being one well-formed piece whose text
// (or its beginning, as much as `out` wants) and shape are known already: an algebraic
// that grew around it is written in the time its new items take.
struct KnownPiece {
  std::size_t from;
  std::size_t count;
  std::string_view text;
  std::uint8_t precedence;
};
InfixShape append_infix(TextSink& out, std::span<const Object> postfix, const DisplayMode& mode,
                        const KnownPiece& known);

// The postfix items of an operand inside an algebraic being built: a name, a number,
// or an algebraic's items.
void append_operand(std::vector<Object>& postfix, const Object& operand);

// The algebraic `op(args...)`, the `count` args in stack order.
Object build_algebraic(const Object* args, std::size_t count, const Object& op);

}  // namespace rplrun
