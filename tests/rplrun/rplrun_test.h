// Helpers of rplrun's suites that run the built programs: where they and the source
// tree are, and how rplrun is started.
#pragma once

#include <string>
#include <vector>

#include "harness.h"

std::string rplrun_path();
std::string rplgen_path();
std::string source_dir();

// rplrun run as "rplrun ARGS" in a scratch directory, standard input on /dev/null.
harness::Invocation rplrun_invocation(std::vector<std::string> args = {});
