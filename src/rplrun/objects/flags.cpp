#include "objects/flags.h"

#include "objects/errors.h"

namespace rplrun {

Flags::Flags() { system_ = 0x3FULL << 4; }

void Flags::set(int flag, bool on) {
  std::uint64_t& word = flag < 0 ? system_ : user_;
  const std::uint64_t bit = 1ULL << ((flag < 0 ? -flag : flag) - 1);
  word = on ? (word | bit) : (word & ~bit);
}

AngleMode Flags::angle_mode() const {
  if (test(-17)) return AngleMode::radians;
  if (test(-18)) return AngleMode::grads;
  return AngleMode::degrees;
}

void Flags::set_angle_mode(AngleMode mode) {
  set(-17, mode == AngleMode::radians);
  set(-18, mode == AngleMode::grads);
}

DisplayMode Flags::display_mode() const {
  DisplayMode mode;
  const bool f49 = test(-49);
  const bool f50 = test(-50);
  mode.format = !f49 && !f50  ? NumberFormat::standard
                : f49 && !f50 ? NumberFormat::fixed
                : !f49 && f50 ? NumberFormat::scientific
                              : NumberFormat::engineering;
  mode.digits = static_cast<int>((system_ >> 44) & 0xF);
  mode.fraction_mark = test(-51) ? ',' : '.';
  mode.coordinates = coordinate_mode();
  mode.angle_mode = angle_mode();
  return mode;
}

void Flags::set_display(NumberFormat format, int digits) {
  set(-49, format == NumberFormat::fixed || format == NumberFormat::engineering);
  set(-50, format == NumberFormat::scientific || format == NumberFormat::engineering);
  const auto d = static_cast<std::uint64_t>(digits < 0 ? 0 : digits > 11 ? 11 : digits);
  system_ = (system_ & ~(0xFULL << 44)) | (d << 44);
}

int Flags::binary_base() const {
  const bool f11 = test(-11);
  const bool f12 = test(-12);
  return f11 && f12 ? 16 : f11 ? 8 : f12 ? 2 : 10;
}

void Flags::set_binary_base(int base) {
  set(-11, base == 16 || base == 8);
  set(-12, base == 16 || base == 2);
}

int Flags::word_size() const { return static_cast<int>((system_ >> 4) & 0x3F) + 1; }

void Flags::set_word_size(int bits) {
  const auto field = static_cast<std::uint64_t>(bits < 1 ? 0 : bits > 64 ? 63 : bits - 1);
  system_ = (system_ & ~(0x3FULL << 4)) | (field << 4);
}

CoordinateMode Flags::coordinate_mode() const {
  if (!test(-16)) return CoordinateMode::rectangular;
  return test(-15) ? CoordinateMode::spherical : CoordinateMode::cylindrical;
}

// RECT clears -16 alone: -15 keeps its state, which matters only in polar mode.
void Flags::set_coordinate_mode(CoordinateMode mode) {
  if (mode != CoordinateMode::rectangular) set(-15, mode == CoordinateMode::spherical);
  set(-16, mode != CoordinateMode::rectangular);
}

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
