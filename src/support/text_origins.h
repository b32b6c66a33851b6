// The text routines' side of origin tracking (origins.h): each text's origins
// are runs of bytes, kept beside the texts while tracking is on. Only the text
// routines use this header.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/text.h"

namespace rpl::origins {

// Whether origins are tracked; the text routines test it before anything else.
extern bool tracked;

// A stretch of bytes with one origin, or with origins that count up from
// `origin`, one a byte (bytes copied from a source).
struct Run {
  std::uint32_t length;
  std::uint32_t origin;
  bool advancing;
};

// The runs of one text, in order, neighbours that continue each other merged.
// Runs can be added at both ends in constant time (amortised), so that texts
// built by wrapping keep their origins in time linear in their size, as the
// texts themselves are built.
class Runs {
 public:
  bool empty() const { return first_ == runs_.size(); }
  void push_back(Run run);
  void push_front(Run run);
  // The runs of the bytes given: copied from the origin source, or written here.
  void push_back(std::string_view bytes);
  void push_front(std::string_view bytes);
  void append(const Runs& other);
  void prepend(const Runs& other);
  // Keeps the runs of the first `size` bytes.
  void keep(std::uint32_t size);
  const Run* begin() const { return runs_.data() + first_; }
  const Run* end() const { return runs_.data() + runs_.size(); }

 private:
  std::vector<Run> runs_;
  std::size_t first_ = 0;  // runs_[0, first_) is room for runs added at the front
};

// Each routine that builds a text says what the new text is made of before it
// consumes anything (the arguments' runs are taken then), and settle() gives
// those runs to the text it made, wherever its block has moved to.

// A text made of pieces in order, literal bytes or argument texts; the one at
// `base` (if any: base < pieces.size()) is the block the text is built in.
struct Piece {
  std::string_view literal;
  const Text* argument;
};
void assembling(const std::vector<Piece>& pieces, std::size_t base);
// A text (null: a new one) with bytes appended.
void appending(const Text* text, std::string_view bytes);
// A copy of a text.
void copying(const Text* text);
// A text cut to its first `size` bytes.
void truncating(const Text* text, std::size_t size);
void settle(const Text* made);

void forget(const Text* text);

}  // namespace rpl::origins
