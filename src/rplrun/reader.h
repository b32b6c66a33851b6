// Reading RPL text into objects: tokens, every object kind with its position,
// algebraics, and program structures checked as they are read.
#pragma once

#include "rplrun/control.h"
#include "rplrun/object.h"
#include "rplrun/source.h"

namespace rplrun {

struct ReadContext {
  AngleMode angle_mode = AngleMode::degrees;  // for polar complex literals
  int binary_base = 10;                       // for "#12" without a base letter
};

// The objects of a whole input, as the body of one program: items, their positions and
// their structures. Throws SyntaxError.
Object read_program_body(const SourceText& source, const ReadContext& context);

}  // namespace rplrun
