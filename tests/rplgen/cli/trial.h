// One table of runs of the real binary for the command-line suite: each row makes
// its inputs in a fresh directory (large ones when the test runs, not at start-up),
// runs the compiler there and must end exactly as the row says. The rows live
// with their topic (command_line_test.cpp, hostile_input_test.cpp); the test that
// runs them is in command_line_test.cpp.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "rplgen_test.h"

// Every member has a default, so that a row names only what it sets.
struct Trial {
  // The first words of argv, the name the compiler sees; empty: no argv at all.
  std::vector<std::string> name = {"rplgen"};
  std::vector<harness::File> files = {};  // written to the run's working directory
  std::vector<std::string> args = {};
  harness::Stream stdin_kind = harness::Stream::dev_null;
  // Piped, typed at a terminal, or the file read as standard input.
  std::string stdin_data = {};
  harness::Stream stdout_kind = harness::Stream::pipe;
  rlim_t max_open_files = 0;     // 0: leave the limit alone
  rlim_t max_address_space = 0;  // bytes; 0: leave the limit alone
  // Expected.
  std::string out = {};
  std::string err = {};
  int status = 0;
};

struct TrialCase {
  TrialCase(const char* name, std::function<Trial()> make) : name(name), make(std::move(make)) {}
  TrialCase(const char* name, Trial trial)
      : name(name), make([trial = std::move(trial)] { return trial; }) {}
  const char* name;
  std::function<Trial()> make;
};

inline void PrintTo(const TrialCase& c, std::ostream* os) { *os << c.name; }

inline std::string trial_name(const testing::TestParamInfo<TrialCase>& info) {
  return info.param.name;
}

class Trials : public testing::TestWithParam<TrialCase> {};

// One source file, given as the only argument.
inline Trial source(std::string bytes, std::string out, std::string err = "", int status = 0) {
  Trial t;
  t.files = {{"in.c48", std::move(bytes)}};
  t.args = {"in.c48"};
  t.out = std::move(out);
  t.err = std::move(err);
  t.status = status;
  return t;
}
