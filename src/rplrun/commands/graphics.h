// What other command groups take from the graphics commands: grobs and PICT as the
// arguments of SIZE, SUB, REPL, STO, RCL, + and NEG, and the points the drawing
// commands read.
#pragma once

#include "machine/machine.h"
#include "objects/command_registry.h"
#include "objects/drawing.h"

namespace rplrun {

// PICT on the stack: the command PICT, which names the picture.
bool is_pict(const Object& x);

// SIZE of a grob or of PICT: its width and height as binary integers. False, nothing
// done, for any other object.
bool grob_size(Machine& m, const Object& x);

// A point: a complex number in user units (mapped by PPAR's window onto PICT) or a
// list of two binary integers, a pixel's column and row.
Pixel point_arg(Machine& m, const Object& x);
// A binary integer as a grob's width or height, past the largest grob kept just too
// large, so that making the grob fails.
std::size_t grob_dimension(const Object& x);

// SUB and REPL of a grob or of PICT (the deepest argument): false, nothing done, for
// any other object.
bool grob_sub(Machine& m, const Args& a);
bool grob_repl(Machine& m, const Args& a);
// + of two grobs, which must be of one size: their pixels ORed. NEG of a grob: its
// pixels inverted. False, nothing done, unless the arguments are grobs.
bool grob_plus(Machine& m, const Args& a);
bool grob_neg(Machine& m, const Args& a);

}  // namespace rplrun
