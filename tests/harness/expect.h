// Checks on how a run of the compiler ended, shared by the suites that run
// the real binary.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "process.h"

// A sanitizer's run time reserves far more address space than any limit that
// would make the compiler itself run out of memory.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool sanitized_build = true;
#elif defined(__has_feature)
inline constexpr bool sanitized_build = __has_feature(address_sanitizer);
#else
inline constexpr bool sanitized_build = false;
#endif

// The whole output for one input whose statements translate to `body`: the
// transfer header, "\<<", the body and "\>>".
std::string program(const std::string& body);

// One diagnostic line of the compiler run as "rplgen".
inline std::string diag(const std::string& message) { return "rplgen: " + message + "\n"; }
// The warning for an input that holds no program. Inline, so that it is ready
// before the tables of cases that other files build at start-up.
inline const std::string no_input = diag("no output is produced, since no input was provided");

// Byte-for-byte equality; on a difference, says where and shows the bytes
// around it rather than two possibly huge texts.
testing::AssertionResult same_bytes(const std::string& got, const std::string& want);

// The run ended by itself (no timeout, no signal) with exactly this standard
// output, standard error and exit status.
void expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                    int status);
