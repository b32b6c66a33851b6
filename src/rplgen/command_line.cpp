#include "rplgen/command_line.h"

#include <cstdio>

#include "rplgen/compile.h"
#include "rplgen/translate/program.h"
#include "support/diagnostics.h"
#include "support/memory.h"

namespace rplgen {

int run_command_line(int argc, char** argv) {
  // Diagnostics name the compiler as it was invoked. Started without a name
  // (Linux passes an empty one for an empty argument vector), they still need
  // one to begin with.
  const bool named = argc > 0 && argv[0] != nullptr && argv[0][0] != '\0';
  rpl::set_program_name(named ? argv[0] : "rplgen");
  outfile = stdout;
  rpl::install_memory_handler();
  if (argc <= 1) {
    compile_file(nullptr);
  } else {
    for (int i = 1; i < argc; ++i) compile_file(argv[i]);
  }
  return 0;
}

}  // namespace rplgen
