// The compile loop: each input is scanned, parsed, translated and its program
// written before the next one is opened.
#pragma once

namespace rplgen {

// Compiles one input: a file name, or null or "-" for standard input.
void compile_file(const char* path);

}  // namespace rplgen
