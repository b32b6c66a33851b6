#include "rplrun_test.h"

std::string rplrun_path() { return RPLRUN_BINARY; }
std::string rplgen_path() { return RPLGEN_BINARY; }
std::string source_dir() { return RPLRUN_SOURCE_DIR; }

harness::Invocation rplrun_invocation(std::vector<std::string> args) {
  harness::Invocation inv;
  inv.program = rplrun_path();
  inv.argv = {"rplrun"};
  inv.argv.insert(inv.argv.end(), args.begin(), args.end());
  inv.stdin_kind = harness::Stream::dev_null;
  return inv;
}
