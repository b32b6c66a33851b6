// A command run as a step of another command (an element of a list, a part of an
// algebraic), on operands given to it rather than found on the stack.
#pragma once

#include <cstdint>

#include "machine/machine.h"
#include "objects/object.h"

namespace rplrun {

// The result of a command applied to operands, as a step of another command: LASTARG
// is left alone and an error is reported for the command that asked.
Object apply_command(Machine& m, std::uint32_t id, const Object& x);
Object apply_command(Machine& m, std::uint32_t id, const Object& x, const Object& y);

}  // namespace rplrun
