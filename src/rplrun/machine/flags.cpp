#include "machine/flags.h"

#include "objects/errors.h"

namespace rplrun {

void Flags::settle_condition(Condition condition) {
  switch (condition) {
    case Condition::none: break;
    case Condition::underflow_positive:
    case Condition::underflow_negative: {
      const bool positive = condition == Condition::underflow_positive;
      if (test(-20)) fail(positive ? positive_underflow : negative_underflow);
      set(positive ? -24 : -23);
      break;
    }
    case Condition::overflow:
      if (test(-21)) fail(overflow_error);
      set(-25);
      break;
    case Condition::infinite_result:
      if (!test(-22)) fail(infinite_result);
      set(-26);
      break;
    case Condition::undefined_result: fail(undefined_result);
    case Condition::bad_argument_value: fail(bad_argument_value);
  }
}

Complex Flags::settle(const ComplexResult& result) {
  settle_condition(result.condition);
  return result.value;
}

}  // namespace rplrun
