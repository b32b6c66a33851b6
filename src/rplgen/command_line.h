// The compiler's command line: there are no options; "-" is standard input
// and every other argument is a file name.
#pragma once

namespace rplgen {

// Sets up the diagnostics, the output and the memory handling, then compiles
// each argument, or standard input, to an HP48 program on standard output.
// Returns the exit status when every input was compiled; any failure ends the
// process before.
int run_command_line(int argc, char** argv);

}  // namespace rplgen
