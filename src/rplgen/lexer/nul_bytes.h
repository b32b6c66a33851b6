// NUL bytes of the input, hidden from the scanner and put back into lexemes.
//
// A flex scanner takes a NUL byte for the end of its buffer. At one that turns
// out to be text it rescans the lexeme matched so far, so a comment or literal
// full of NULs would cost time quadratic in its length. The input routine
// therefore hands the scanner a stand-in byte for every NUL and remembers
// where each stood; the lexeme of a token gets its NULs back before its text
// is read. No rule of the scanner tells the stand-in from a NUL: both are a
// character that no token begins with, and content inside comments and
// literals.
//
// Positions count the bytes handed to the scanner so far. Only the NULs among
// the bytes the scanner still holds are remembered, one bit per byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rplgen {

inline constexpr char nul_stand_in = '\1';

class NulBytes {
 public:
  // The bytes have just been read and follow every byte handed over so far:
  // replaces each NUL among them by the stand-in and remembers where it was.
  void hide(char* bytes, std::size_t count);

  // Of the bytes handed over, the scanner still holds only the last `count`:
  // the NULs before them are forgotten.
  void keep_last(std::size_t count);

  // How many bytes have been handed over.
  std::uint64_t handed_over() const { return handed_over_; }

  // Whether any NUL is remembered at all.
  bool any() const { return !words_.empty(); }

  // Puts the NULs back into bytes handed over earlier, whose first byte lay
  // `from_end` bytes before the end of what has been handed over.
  void restore(char* bytes, std::size_t count, std::size_t from_end) const;

 private:
  bool is_nul(std::uint64_t position) const;

  std::uint64_t handed_over_ = 0;
  // Bit b of words_[i] is set when the byte at 64 * (first_word_ + i) + b was
  // a NUL.
  std::vector<std::uint64_t> words_;
  std::uint64_t first_word_ = 0;
};

}  // namespace rplgen
