#include "objects/text_sink.h"

#include <algorithm>

#include "objects/errors.h"

namespace rplrun {

void TextSink::overflow() { fail(insufficient_memory); }

void TextSink::put(std::string_view piece) {
  while (!piece.empty() && !full_) {
    // Up to one past the limit, so that overflow() sees the limit passed.
    const std::size_t room = text_.size() <= limit_ ? limit_ - text_.size() + 1 : 1;
    const std::size_t take = std::min(room, piece.size());
    text_.append(piece.substr(0, take));
    piece.remove_prefix(take);
    settle();
  }
}

}  // namespace rplrun
