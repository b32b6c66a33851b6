// The program's standard output: HP text written in the chosen character set (control
// characters as their codes), the stack one piece at a time, and the first failed
// write remembered, so that the run stops there instead of writing on into nothing.
#pragma once

#include <string_view>

#include "objects/charset.h"
#include "objects/text_sink.h"

namespace rplrun {

class Machine;

class Output {
 public:
  explicit Output(OutputCharset charset) : charset_(charset) {}

  // HP text; false once a write has failed (and nothing more is written).
  bool write(std::string_view hp_text, LineBreaks breaks);
  // UTF-8 text written as it is (pictures drawn with block characters).
  bool write_utf8(std::string_view text);
  // Pushes out what the C library holds (before a prompt or a message).
  bool flush();
  bool failed() const { return error_ != 0; }
  int error() const { return error_; }  // errno of the failed write

 private:
  bool check();

  OutputCharset charset_;
  int error_ = 0;
};

// A stack level's text, written to the output as it grows, its line breaks as blanks.
// Full once a write has failed.
class OutputSink : public TextSink {
 public:
  explicit OutputSink(Output& output);
  void end_line() override;
  // Writes what is left.
  void finish();

 private:
  void overflow() override;
  Output& output_;
};

// The stack, deepest level first, "N: object" per line (each ended by end_line()); or
// only level 1 unlabelled. Written one piece at a time: `out` passes it on as it grows.
void write_stack(const Machine& machine, bool top_only, TextSink& out);

}  // namespace rplrun
