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

// Byte-for-byte equality; on a difference, says where and shows the bytes
// around it rather than two possibly huge texts.
testing::AssertionResult same_bytes(const std::string& got, const std::string& want);

// The run ended by itself (no timeout, no signal) with exactly this standard
// output, standard error and exit status.
void expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                    int status);
