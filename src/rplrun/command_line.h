// rplrun's command line, read with the GNU conventions.
#pragma once

#include <optional>
#include <string>

#include "session.h"

namespace rplrun {

struct CommandLine {
  SessionOptions session;
  std::optional<int> exit_now;  // --help, --version or a usage error: the status
};

CommandLine parse_command_line(int argc, char** argv);

}  // namespace rplrun
