// Lines typed at the terminal in interactive mode, read with read(2) so that Ctrl-C
// (SIGINT, handled without restarting the call) ends the wait at once.
#pragma once

#include <string>

namespace rplrun {

class LineReader {
 public:
  enum class Result { line, interrupted, end };

  explicit LineReader(int fd) : fd_(fd) {}
  // The next line, without its line end. `interrupted`: Ctrl-C, and the text typed so
  // far is dropped. `end`: Ctrl-D at the start of a line, or the end of the input; every
  // later call says so too.
  Result read(std::string& line);
  // How many lines were read so far.
  unsigned lines() const { return lines_; }

 private:
  bool wait_for_input();

  int fd_;
  std::string pending_;
  bool ended_ = false;
  unsigned lines_ = 0;
};

}  // namespace rplrun
