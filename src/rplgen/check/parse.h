// Runs the checking parser over the scanner's current input, telling the
// checker of every token and reduction.
#pragma once

namespace rplgen::check {

class Checker;

void parse(Checker& checker);

}  // namespace rplgen::check
