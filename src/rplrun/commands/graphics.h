// What other command groups take from the graphics commands: grobs and PICT as the
// arguments of SIZE, SUB, REPL, STO and RCL.
#pragma once

#include "machine/machine.h"
#include "objects/command_registry.h"

namespace rplrun {

// PICT on the stack: the command PICT, which names the picture.
bool is_pict(const Object& x);

// SIZE of a grob or of PICT: its width and height as binary integers. False, nothing
// done, for any other object.
bool grob_size(Machine& m, const Object& x);

}  // namespace rplrun
