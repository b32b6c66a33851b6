// Helpers of the compiler's suites: where the compiler and the source tree
// are, how the compiler is run, and what it writes.
#pragma once

#include <string>
#include <vector>

#include "harness.h"

// The compiler under test, and the top of the source tree.
std::string rplgen_path();
std::string source_dir();

// The compiler run as "rplgen" on the arguments, in a scratch directory, with
// the input on a pipe.
harness::Invocation rplgen_invocation(std::vector<std::string> args = {},
                                      std::string input = "");
harness::Outcome run_rplgen(std::vector<std::string> args, std::string input = "");

// Compiles the source as the file "in.c48", given as the only argument, with
// standard input on /dev/null.
harness::Outcome compile_source(const std::string& source);

// The whole output for one input whose statements translate to `body`: the
// transfer header, "\<<", the body and "\>>".
std::string program(const std::string& body);

// One diagnostic line of the compiler run as "rplgen".
inline std::string diag(const std::string& message) { return "rplgen: " + message + "\n"; }
// The warning for an input that holds no program. Inline, so that it is ready
// before the tables of cases that other files build at start-up.
inline const std::string no_input = diag("no output is produced, since no input was provided");
