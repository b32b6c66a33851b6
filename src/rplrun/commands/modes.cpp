// Modes and flags: STD FIX SCI ENG, RAD DEG GRAD, RECT CYLIN SPHERE, SF CF FS? FC? FS?C
// FC?C, RCLF STOF.
#include "commands/support.h"

namespace rplrun {

namespace {

void std_(Machine& m, const Args&) { m.flags.set_display(NumberFormat::standard, 0); }

// FIX, SCI, ENG n: n from 0 to 11; larger is 11.
void digits_mode(Machine& m, const Args& a, NumberFormat format) {
  const std::int64_t n = integer_arg(a[1]);
  m.flags.set_display(format, n < 0 ? 0 : n > 11 ? 11 : static_cast<int>(n));
}

void fix(Machine& m, const Args& a) { digits_mode(m, a, NumberFormat::fixed); }
void sci(Machine& m, const Args& a) { digits_mode(m, a, NumberFormat::scientific); }
void eng(Machine& m, const Args& a) { digits_mode(m, a, NumberFormat::engineering); }

void rad(Machine& m, const Args&) { m.flags.set_angle_mode(AngleMode::radians); }
void deg(Machine& m, const Args&) { m.flags.set_angle_mode(AngleMode::degrees); }
void grad(Machine& m, const Args&) { m.flags.set_angle_mode(AngleMode::grads); }

void rect(Machine& m, const Args&) { m.flags.set_coordinate_mode(CoordinateMode::rectangular); }
void cylin(Machine& m, const Args&) { m.flags.set_coordinate_mode(CoordinateMode::cylindrical); }
void sphere(Machine& m, const Args&) { m.flags.set_coordinate_mode(CoordinateMode::spherical); }

int flag_arg(const Object& x) {
  const std::int64_t n = integer_arg(x);
  if (!Flags::valid(static_cast<int>(n)) || n < -64 || n > 64) fail(bad_argument_value);
  return static_cast<int>(n);
}

void sf(Machine& m, const Args& a) { m.flags.set(flag_arg(a[1])); }
void cf(Machine& m, const Args& a) { m.flags.clear(flag_arg(a[1])); }
void fs(Machine& m, const Args& a) { m.push(truth(m.flags.test(flag_arg(a[1])))); }
void fc(Machine& m, const Args& a) { m.push(truth(!m.flags.test(flag_arg(a[1])))); }

void fs_clear(Machine& m, const Args& a) {
  const int flag = flag_arg(a[1]);
  m.push(truth(m.flags.test(flag)));
  m.flags.clear(flag);
}

void fc_clear(Machine& m, const Args& a) {
  const int flag = flag_arg(a[1]);
  m.push(truth(!m.flags.test(flag)));
  m.flags.clear(flag);
}

// RCLF: { #system #user }, bit k of each the flag -(k+1) or k+1.
void rclf(Machine& m, const Args&) {
  m.push(Object::list(
      {Object::binary(m.flags.system_word()), Object::binary(m.flags.user_word())}));
}

// STOF: #system, or { #system #user } as RCLF gives them; all 64 bits count, whatever
// the word size.
void stof(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::binary)) {
    m.flags.set_words(x.as_binary(), m.flags.user_word());
    return;
  }
  const std::span<const Object> words = list_arg(x);
  if (words.size() != 2 || !words[0].is(Kind::binary) || !words[1].is(Kind::binary))
    fail(bad_argument_type);
  m.flags.set_words(words[0].as_binary(), words[1].as_binary());
}

constexpr CommandRow rows[] = {
    {"STD", 0, std_},      {"FIX", 1, fix}, {"SCI", 1, sci},   {"ENG", 1, eng},
    {"RAD", 0, rad},       {"DEG", 0, deg}, {"GRAD", 0, grad}, {"SF", 1, sf},
    {"CF", 1, cf},         {"FS?", 1, fs},  {"FC?", 1, fc},    {"FS?C", 1, fs_clear},
    {"FC?C", 1, fc_clear}, {"RECT", 0, rect}, {"CYLIN", 0, cylin}, {"SPHERE", 0, sphere},
    {"RCLF", 0, rclf},     {"STOF", 1, stof},
};

}  // namespace

std::span<const CommandRow> mode_commands() { return rows; }

}  // namespace rplrun
