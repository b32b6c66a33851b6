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
  const Run* begin() const { return runs_.data() + first_; }
  const Run* end() const { return runs_.data() + runs_.size(); }

 private:
  std::vector<Run> runs_;
  std::size_t first_ = 0;  // runs_[0, first_) is room for runs added at the front
};

// The runs recorded for a text, taken away from it (none: empty).
Runs take(const Text* text);
// A copy of the runs of a text.
Runs copy(const Text* text);
void put(const Text* text, Runs runs);
void forget(const Text* text);

}  // namespace rpl::origins
