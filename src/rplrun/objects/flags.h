// The calculator's flags: system flags -1..-64 and user flags 1..64, with every effect
// they have on rplrun in this one class (angle mode, display format, binary base and
// word size, coordinates, what happens to results out of range, LASTARG).
#pragma once

#include <cstdint>

#include "numbers/number_format.h"
#include "numbers/real.h"

namespace rplrun {

class Flags {
 public:
  Flags();  // after a memory reset: -5..-10 set (word size 64), everything else clear

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
  bool day_first() const { return test(-42); }  // DATE as DD.MMYYYY
  bool symbolic_constants() const { return !test(-2); }
  bool numeric_results() const { return test(-3); }
  bool saves_last_args() const { return !test(-55); }

  // The value of a computed real: an error when the condition is one (flags -20..-22),
  // otherwise the value, with the flag that records the event (-23..-26) set.
  Real settle(const RealResult& result) {
    if (result.condition != Condition::none) settle_condition(result.condition);
    return result.value;
  }
  Complex settle(const ComplexResult& result);
  void settle_condition(Condition condition);

 private:
  std::uint64_t system_ = 0;  // bit k is flag -(k+1)
  std::uint64_t user_ = 0;    // bit k is flag k+1
};

}  // namespace rplrun
