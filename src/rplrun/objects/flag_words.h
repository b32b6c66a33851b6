// The calculator's flags as two words: system flags -1..-64 and user flags 1..64, and
// the modes kept in them that display reads (number format, angle and coordinate modes,
// binary base and word size). What the other flags make the machine do (errors for
// results out of range, LASTARG, numeric results) is machine/flags.h.
#pragma once

#include <cstdint>

#include "numbers/number_format.h"
#include "numbers/real.h"

namespace rplrun {

class FlagWords {
 public:
  FlagWords();  // after a memory reset: -5..-10 set (word size 64), everything else clear

  bool test(int flag) const {  // flag in -64..-1 or 1..64
    if (flag < 0) return (system_ >> (-flag - 1)) & 1;
    return (user_ >> (flag - 1)) & 1;
  }
  void set(int flag, bool on = true);
  void clear(int flag) { set(flag, false); }
  static bool valid(int flag) { return (flag >= -64 && flag <= -1) || (flag >= 1 && flag <= 64); }

  std::uint64_t system_word() const { return system_; }
  std::uint64_t user_word() const { return user_; }
  void set_words(std::uint64_t system, std::uint64_t user) {
    system_ = system;
    user_ = user;
  }

  AngleMode angle_mode() const;  // -17, -18
  void set_angle_mode(AngleMode mode);
  DisplayMode display_mode() const;  // -45..-50, -51
  // -51: also the fraction mark of what is typed (command lines, STR\->, INPUT lines).
  char fraction_mark() const { return test(-51) ? ',' : '.'; }
  void set_display(NumberFormat format, int digits);
  int binary_base() const;  // -11, -12
  void set_binary_base(int base);
  int word_size() const;  // -5..-10: the size less one
  void set_word_size(int bits);  // 1..64
  CoordinateMode coordinate_mode() const;  // -16 polar, -15 with it spherical
  void set_coordinate_mode(CoordinateMode mode);
 private:
  std::uint64_t system_ = 0;  // bit k is flag -(k+1)
  std::uint64_t user_ = 0;    // bit k is flag k+1
};

}  // namespace rplrun
