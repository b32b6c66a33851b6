// Functions of numbers given lists: applied to each element, as the calculator does
// (`{ 1 2 } SIN`, `{ 1 2 } { 3 4 } -`, `{ 1 2 } 10 *`).
#pragma once

#include <cstdint>

#include "objects/object.h"

namespace rplrun {

class Machine;

// The list of the command's results on the elements of its list arguments, paired by
// position (lists of different sizes: Invalid Dimension), any other argument going
// with every element.
Object apply_to_elements(Machine& m, std::uint32_t command, const Object* args, int count);

}  // namespace rplrun
