// One run of rplrun: the inputs in their order, the final stack, the exit status.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numbers/number_format.h"
#include "numbers/real.h"
#include "objects/charset.h"

namespace rplrun {

// Exit statuses.
enum ExitStatus : int {
  exit_done = 0,
  exit_error = 1,        // an RPL error ended the run
  exit_usage = 2,        // usage error, unreadable file, write error
  exit_syntax = 3,       // Invalid Syntax in an input, or an --input line no command takes
  exit_interrupted = 4,  // --max-steps, --timeout, SIGINT
  exit_halted = 5,       // HALT or PROMPT with no --input left
};

// How a file is read: by its name (.c48 files are source, the others RPL), or as
// --source says for standard input and the files whose name does not say.
enum class SourceKind { rpl, c48 };

struct SessionOptions {
  std::vector<std::string> first_files;  // -f, in order
  std::optional<std::string> file;       // FILE; "-" is standard input
  std::vector<std::string> evals;        // -e texts
  std::vector<std::string> operands;     // RPL operands
  bool quiet = false;                    // -q
  bool top_only = false;                 // -1
  std::uint64_t max_steps = 0;
  std::optional<AngleMode> angle_mode;
  std::optional<NumberFormat> number_format;
  int digits = 0;
  OutputCharset charset = OutputCharset::ascii;
  std::optional<std::string> input_file;
  double timeout_seconds = 0;             // 0: none
  bool interactive = false;               // -i, or a terminal on standard input
  bool trace = false;                     // -t
  bool strict = false;                    // --strict
  bool store = false;                     // -s: files are stored, not run
  std::optional<std::string> store_name;  // --store=NAME, for FILE
  bool real_clock = false;  // --real-clock
  SourceKind source = SourceKind::rpl;  // --source
  bool check = false;                   // --check: the files are checked, not run
  std::vector<std::string> check_files;  // with --check
  std::optional<std::string> screen;     // --screen: a PNG file, or a directory ending in /
  unsigned screen_scale = 4;             // --screen-scale
  bool show_screen = false;              // --show
};

// Runs everything and prints the stack; returns the exit status.
int run_session(const SessionOptions& options);

}  // namespace rplrun
