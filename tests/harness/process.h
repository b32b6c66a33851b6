// Runs the real compiler binary as a child process, the way a user would, and
// collects what it wrote and how it ended.
#pragma once

#include <string>
#include <utility>
#include <vector>

enum class Stream { pipe, dev_null, dev_full, closed, file };

struct Invocation {
  std::vector<std::string> argv;  // argv[0] is the name the child sees
  std::string program;            // path executed; defaults to the compiler
  std::string cwd;                // working directory; empty keeps ours
  Stream stdin_kind = Stream::pipe;
  std::string stdin_data;         // written to the child's standard input
  std::string stdin_path;         // for Stream::file
  Stream stdout_kind = Stream::pipe;
  double timeout_seconds = 60;
  // Soft resource limits (resource, value) set in the child before it starts.
  std::vector<std::pair<int, unsigned long>> limits;
};

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;      // exit status, or -1 if killed by a signal
  int signal = 0;       // the signal that ended the child, if any
  bool timed_out = false;
};

// The compiler under test.
std::string rplgen_path();
// The top of the source tree.
std::string source_dir();

Outcome run(const Invocation& invocation);

// Convenience: runs the compiler as "rplgen" on the given arguments and input.
Outcome run_rplgen(std::vector<std::string> args, std::string input = "");

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
// A fresh empty directory under the test's temporary area.
std::string make_temp_dir();
