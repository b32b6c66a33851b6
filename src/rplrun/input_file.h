// Reading an input whole: a file, or standard input for "-".
#pragma once

#include <string>

namespace rplrun {

// Reads all of `path` into `bytes`. On failure, returns false with `error` set to
// "cannot open: REASON" or "cannot read: REASON" (a directory, a device that fails, an
// input of max_input_bytes or more: "File too large").
bool read_input_file(const std::string& path, std::string& bytes, std::string& error);

}  // namespace rplrun
