// Objects as the calculator shows them: the decompiled form on one line (line breaks
// shown as blanks), and the stack.
#pragma once

#include <string>

#include "rplrun/flags.h"
#include "rplrun/object.h"

namespace rplrun {

class Machine;

// The decompiled form of an object. `top_level`: as on a stack level (a name quoted, a
// tagged object as "tag: value"); otherwise as inside a list or program.
void append_object(std::string& out, const Object& object, const Flags& flags, bool top_level);
std::string decompile(const Object& object, const Flags& flags, bool top_level = true);

// One stack level's text: the decompiled form with line breaks as blanks.
std::string show(const Object& object, const Flags& flags);

// A binary integer in the current base and word size: "# 28d".
std::string format_binary(std::uint64_t value, const Flags& flags);

// The stack, deepest level first, "N: object" per line; or only level 1 unlabelled.
std::string stack_text(const Machine& machine, bool top_only);

}  // namespace rplrun
