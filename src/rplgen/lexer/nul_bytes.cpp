#include "rplgen/lexer/nul_bytes.h"

#include <algorithm>
#include <cstring>

namespace rplgen {

namespace {

constexpr std::uint64_t word_bits = 64;

// The next byte equal to `value` in [from, end), or null.
char* find(char* from, char* end, char value) {
  return static_cast<char*>(std::memchr(from, value, static_cast<std::size_t>(end - from)));
}

}  // namespace

void NulBytes::hide(char* bytes, std::size_t count) {
  char* const end = bytes + count;
  // Most input has no NUL at all. From each NUL found on, the bytes are
  // looked at a word of marks at a time, which stays fast where NULs crowd.
  for (char* c = find(bytes, end, '\0'); c != nullptr; c = find(c, end, '\0')) {
    const std::uint64_t position = handed_over_ + static_cast<std::uint64_t>(c - bytes);
    const std::uint64_t word = position / word_bits;
    const std::uint64_t first_bit = position % word_bits;
    const auto length = static_cast<std::ptrdiff_t>(
        std::min<std::uint64_t>(word_bits - first_bit, static_cast<std::uint64_t>(end - c)));
    std::uint64_t marks = 0;
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      const bool nul = c[i] == '\0';
      marks |= std::uint64_t{nul} << (first_bit + static_cast<std::uint64_t>(i));
      c[i] = nul ? nul_stand_in : c[i];
    }
    c += length;
    if (words_.empty()) first_word_ = word;
    if (word - first_word_ >= words_.size()) words_.resize(word - first_word_ + 1);
    words_[word - first_word_] |= marks;
  }
  handed_over_ += count;
}

void NulBytes::keep_last(std::size_t count) {
  const std::uint64_t first_kept_word = (handed_over_ - count) / word_bits;
  if (words_.empty() || first_kept_word <= first_word_) return;
  const std::uint64_t drop = std::min<std::uint64_t>(first_kept_word - first_word_, words_.size());
  words_.erase(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(drop));
  first_word_ += drop;
}

void NulBytes::restore(char* bytes, std::size_t count, std::size_t from_end) const {
  if (words_.empty()) return;
  const std::uint64_t first = handed_over_ - from_end;
  char* const end = bytes + count;
  for (char* c = find(bytes, end, nul_stand_in); c != nullptr; c = find(c + 1, end, nul_stand_in)) {
    if (is_nul(first + static_cast<std::uint64_t>(c - bytes))) *c = '\0';
  }
}

bool NulBytes::is_nul(std::uint64_t position) const {
  const std::uint64_t word = position / word_bits;
  if (word < first_word_ || word - first_word_ >= words_.size()) return false;
  return (words_[word - first_word_] >> (position % word_bits) & 1) != 0;
}

}  // namespace rplgen
