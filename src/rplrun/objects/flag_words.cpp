#include "objects/flag_words.h"

namespace rplrun {

FlagWords::FlagWords() { system_ = 0x3FULL << 4; }

void FlagWords::set(int flag, bool on) {
  std::uint64_t& word = flag < 0 ? system_ : user_;
  const std::uint64_t bit = 1ULL << ((flag < 0 ? -flag : flag) - 1);
  word = on ? (word | bit) : (word & ~bit);
}

AngleMode FlagWords::angle_mode() const {
  if (test(-17)) return AngleMode::radians;
  if (test(-18)) return AngleMode::grads;
  return AngleMode::degrees;
}

void FlagWords::set_angle_mode(AngleMode mode) {
  set(-17, mode == AngleMode::radians);
  set(-18, mode == AngleMode::grads);
}

DisplayMode FlagWords::display_mode() const {
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

void FlagWords::set_display(NumberFormat format, int digits) {
  set(-49, format == NumberFormat::fixed || format == NumberFormat::engineering);
  set(-50, format == NumberFormat::scientific || format == NumberFormat::engineering);
  const auto d = static_cast<std::uint64_t>(digits < 0 ? 0 : digits > 11 ? 11 : digits);
  system_ = (system_ & ~(0xFULL << 44)) | (d << 44);
}

int FlagWords::binary_base() const {
  const bool f11 = test(-11);
  const bool f12 = test(-12);
  return f11 && f12 ? 16 : f11 ? 8 : f12 ? 2 : 10;
}

void FlagWords::set_binary_base(int base) {
  set(-11, base == 16 || base == 8);
  set(-12, base == 16 || base == 2);
}

int FlagWords::word_size() const { return static_cast<int>((system_ >> 4) & 0x3F) + 1; }

void FlagWords::set_word_size(int bits) {
  const auto field = static_cast<std::uint64_t>(bits < 1 ? 0 : bits > 64 ? 63 : bits - 1);
  system_ = (system_ & ~(0x3FULL << 4)) | (field << 4);
}

CoordinateMode FlagWords::coordinate_mode() const {
  if (!test(-16)) return CoordinateMode::rectangular;
  return test(-15) ? CoordinateMode::spherical : CoordinateMode::cylindrical;
}

// RECT clears -16 alone: -15 keeps its state, which matters only in polar mode.
void FlagWords::set_coordinate_mode(CoordinateMode mode) {
  if (mode != CoordinateMode::rectangular) set(-15, mode == CoordinateMode::spherical);
  set(-16, mode != CoordinateMode::rectangular);
}

}  // namespace rplrun
