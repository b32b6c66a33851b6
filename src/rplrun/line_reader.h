// Lines read in interactive mode: typed at a terminal, with line editing and a history
// kept in ~/.rplrun_history (libedit), or read from a pipe or a file as they come.
// Ctrl-C (SIGINT, handled without restarting calls) ends the wait at once.
#pragma once

#include <memory>
#include <string>

namespace rplrun {

class LineReader {
 public:
  enum class Result { line, interrupted, end };

  // Lines of `fd`; edited when `fd` and standard output are both terminals.
  explicit LineReader(int fd);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Whether the reader writes its prompt itself (line editing); else the caller does.
  bool edits() const { return editor_ != nullptr; }

  // The next line, without its line end; a line typed at the prompt (`remember`) goes
  // into the history. `interrupted`: Ctrl-C, and the text typed so far is dropped.
  // `end`: Ctrl-D at the start of a line, or the end of the input. At a terminal the
  // next call reads on (Ctrl-D ends one answer, not the terminal); from a pipe or a
  // file every later call says `end` too.
  Result read(std::string& line, const std::string& prompt = "", bool remember = false);
  // Whether a whole line is there to be read without waiting.
  bool ready();
  // How many lines were read so far.
  unsigned lines() const { return lines_; }

 private:
  class Editor;
  Result read_raw(std::string& line);
  void fill();  // one read into the buffer
  bool wait_for_input();

  int fd_;
  bool terminal_;
  std::unique_ptr<Editor> editor_;
  // Read and not yet taken: from `taken_` on; no line end before `scanned_`.
  std::string pending_;
  std::size_t taken_ = 0;
  std::size_t scanned_ = 0;
  bool ended_ = false;
  unsigned lines_ = 0;
};

}  // namespace rplrun
