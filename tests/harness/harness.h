// The test harness: runs a built program as a child process, the way a user
// would, and checks how it ended. It knows nothing of any one program; each
// program's suites keep their own helpers (expected output, diagnostics)
// beside them.
//
// Usage: link the CMake target test_harness, then
//
//   harness::Invocation inv;
//   inv.program = "/path/to/build/src/rplgen/rplgen";
//   inv.argv = {"rplgen", "in.c48"};         // argv[0]: the name it sees
//   inv.files = {{"in.c48", "x = 1;\n"}};    // written where it runs
//   const harness::Outcome got = harness::run(inv);
//   harness::expect_outcome(got, expected_stdout, expected_stderr, 0);
//
// The program runs in a fresh scratch directory under $TMPDIR (removed
// afterwards), or in `cwd` when given. Standard input may be a pipe, a file or
// a terminal (a pseudo-terminal), each fed with stdin_data and the replies of a
// dialogue, or /dev/null,
// /dev/full or closed; standard output a pipe, /dev/null, /dev/full, closed
// or a pipe nobody reads. Resource limits are set in the child before it starts.
//
// The environment variable RPL_TEST_WRAPPER names a command to put in front
// of the program, such as "valgrind --quiet --error-exitcode=99"; its words
// are separated by blanks. The program is then started by the name in
// argv[0] (through a link on the PATH when argv[0] is a plain name), so that
// it sees the same argv[0] as without the wrapper. A run whose argv[0] is
// neither the program's path nor a plain name runs without the wrapper.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace harness {

// broken_pipe: a pipe whose reading end is closed before the program starts.
enum class Stream { pipe, file, terminal, dev_null, dev_full, closed, broken_pipe };

struct File {
  std::string name;
  std::string bytes;
};

struct Invocation {
  std::string program;            // path of the program to run
  std::vector<std::string> argv;  // argv[0] is the name the program sees; may be empty
  std::vector<File> files;        // written to the working directory first
  std::vector<std::string> fifos;  // named pipes made there, which nobody opens
  std::string cwd;                // the working directory; empty: a scratch directory
  Stream stdin_kind = Stream::pipe;
  std::string stdin_data;  // piped, held in the file, or typed at the terminal
  std::string stdin_from;  // Stream::file: this existing path, instead of stdin_data
  // A dialogue: each text is typed (after stdin_data) once standard output shows
  // `after`, looked for past what the previous reply waited for.
  struct Reply {
    std::string after;
    std::string typed;
    // Typed only once the terminal has left canonical mode as well: a line editor
    // (libedit) may show its prompt before it reads keys one by one, and a key typed
    // in between would go through the terminal's own line editing.
    bool keys = false;
  };
  std::vector<Reply> replies;
  // Stream::pipe, dev_null, dev_full, closed or broken_pipe; or terminal, the same
  // terminal as standard input, whose whole screen output (echo included) is `out`.
  Stream stdout_kind = Stream::pipe;
  bool ignore_sigpipe = false;  // the program starts with SIGPIPE ignored
  double timeout_seconds = 60;
  // Environment variables set (name, value) in the child before it starts.
  std::vector<std::pair<std::string, std::string>> environment;
  // Soft resource limits (resource, value) set in the child before it starts.
  std::vector<std::pair<int, unsigned long>> limits;
};

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or -1 if killed by a signal
  int signal = 0;   // the signal that ended the child, if any
  bool timed_out = false;
};

Outcome run(const Invocation& invocation);

// The run ended by itself (no timeout, no signal) with exactly this standard
// output, standard error and exit status.
void expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                    int status);

// Byte-for-byte equality; on a difference, says where and shows the bytes
// around it rather than two possibly huge texts.
testing::AssertionResult same_bytes(const std::string& got, const std::string& want);

// A sanitizer's run time reserves far more address space than any limit that
// would make a program itself run out of memory.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool sanitized_build = true;
#elif defined(__has_feature)
inline constexpr bool sanitized_build = __has_feature(address_sanitizer);
#else
inline constexpr bool sanitized_build = false;
#endif

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
// A fresh empty directory under $TMPDIR, or /tmp.
std::string make_temp_dir();

}  // namespace harness
