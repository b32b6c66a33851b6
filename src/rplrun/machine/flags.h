// The calculator's flags with what they make the machine do: the errors or events of
// results out of range (-20..-26), LASTARG (-55), numeric results (-3), symbolic
// constants (-2), the date format (-42). The words and the display's modes are
// objects/flag_words.h.
#pragma once

#include "objects/flag_words.h"

namespace rplrun {

class Flags : public FlagWords {
 public:
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
};

}  // namespace rplrun
