// The program's standard output: HP text written in the chosen character set (control
// characters as their codes), the stack one piece at a time, and the first failed
// write remembered, so that the run stops there instead of writing on into nothing.
#pragma once

#include <string_view>

#include "rplrun/charset.h"
#include "rplrun/text_sink.h"

namespace rplrun {

class Output {
 public:
  explicit Output(OutputCharset charset) : charset_(charset) {}

  // HP text; false once a write has failed (and nothing more is written).
  bool write(std::string_view hp_text, LineBreaks breaks);
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

}  // namespace rplrun
