#include "rplgen_test.h"

#include <utility>

std::string rplgen_path() { return RPLGEN_BINARY; }
std::string source_dir() { return RPLGEN_SOURCE_DIR; }

harness::Invocation rplgen_invocation(std::vector<std::string> args, std::string input) {
  harness::Invocation inv;
  inv.program = rplgen_path();
  inv.argv = {"rplgen"};
  inv.argv.insert(inv.argv.end(), args.begin(), args.end());
  inv.stdin_data = std::move(input);
  return inv;
}

harness::Outcome run_rplgen(std::vector<std::string> args, std::string input) {
  return harness::run(rplgen_invocation(std::move(args), std::move(input)));
}

harness::Outcome compile_source(const std::string& source) {
  harness::Invocation inv = rplgen_invocation({"in.c48"});
  inv.files = {{"in.c48", source}};
  inv.stdin_kind = harness::Stream::dev_null;
  return harness::run(inv);
}

std::string program(const std::string& body) {
  return "%%HP: T(3)A(R)F(.);\n\\<<\n" + body + "\\>>\n";
}
