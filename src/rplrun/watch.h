// What --trace and --strict add to a run, on standard error: a line for each object
// evaluated, with the top of the stack after it; a warning for each place that
// evaluates a global name without a variable (a misspelt command, a C word).
#pragma once

#include <string>

#include "machine/flags.h"
#include "objects/charset.h"
#include "objects/object.h"

namespace rplrun {

class Machine;

void watch_evaluation(Machine& machine, OutputCharset charset);
void watch_undefined_names(Machine& machine, OutputCharset charset);

// An object's one-line form (as on a stack level, or as inside a program) cut to
// `width` characters: a long list or program is not decompiled whole.
std::string brief(const Object& object, const Flags& flags, bool top_level, std::size_t width = 40);

}  // namespace rplrun
