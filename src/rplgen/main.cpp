// rplgen: compiles each argument, or standard input, to an HP48 program on
// standard output.
#include "rplgen/command_line.h"

int main(int argc, char** argv) { return rplgen::run_command_line(argc, argv); }
