// The compile loop: each input is scanned, parsed, translated and its program
// written before the next one is opened.
#pragma once

#include <cstdio>

// The name under which the compiler was invoked, exactly as passed.
extern const char* progname;
// Where the translated programs go: always standard output.
extern std::FILE* outfile;
// The current source line of the input being compiled.
extern long lineno;

// Compiles one input: a file name, or null or "-" for standard input.
void compile_file(const char* path);
