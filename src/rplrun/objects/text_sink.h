// Where a decompiled form goes as it is built. Kept whole, it is capped like any object
// (Insufficient Memory beyond); the program's output passes it on as it grows; a trace
// keeps only its beginning. Decompiling asks full() between parts and stops when
// nothing more is wanted, so that no form is built larger than its use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rplrun {

class TextSink {
 public:
  // Once the text passes `limit` bytes, overflow() is called: by default Insufficient
  // Memory, as for an object built larger than an object may be.
  explicit TextSink(std::size_t limit) : limit_(limit) {}
  virtual ~TextSink() = default;
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  // Short pieces are appended here directly, then settle() is called.
  std::string& text() { return text_; }
  void settle() {
    if (text_.size() > limit_) overflow();
  }
  void put(char c) {
    text_ += c;
    settle();
  }
  // A piece of any length, passed on or cut as it goes in.
  void put(std::string_view piece);
  // The end of a line of output (a stack level): a line break.
  virtual void end_line() { put('\n'); }
  // Nothing more is wanted: the rest of the form may be left out.
  bool full() const { return full_; }

  // The form goes to a transfer file, to be read back: grobs are written with their
  // pixels rather than as the stack shows them.
  bool transfer = false;

 protected:
  virtual void overflow();

  std::string text_;
  std::size_t limit_;
  bool full_ = false;
};

// The first `width` characters of a form; full() once there are more.
class CutSink : public TextSink {
 public:
  explicit CutSink(std::size_t width) : TextSink(width) {}

 private:
  void overflow() override { full_ = true; }
};

}  // namespace rplrun
