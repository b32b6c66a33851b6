// Errors and control: DOERR ERRN ERRM ERR0, KILL HALT CONT, and OFF.
#include "commands/support.h"

namespace rplrun {

namespace {

void doerr(Machine&, const Args& a) {
  RplError error;
  error.names_command = false;
  const Object& x = a[1];
  if (x.is(Kind::string)) {
    error.number = user_error;
    error.message = x.as_string();
  } else if (x.is(Kind::real) || x.is(Kind::binary)) {
    error.number = x.is(Kind::real) ? static_cast<std::uint32_t>(x.as_real().uint64_nearest())
                                    : static_cast<std::uint32_t>(x.as_binary());
    error.message = error_message(error.number);
  } else {
    fail(bad_argument_type);
  }
  throw error;
}

void errn(Machine& m, const Args&) { m.push(Object::binary(m.error_number)); }
void errm(Machine& m, const Args&) { m.push(Object::string(m.error_text)); }

void err0(Machine& m, const Args&) {
  m.error_number = 0;
  m.error_text.clear();
}

void halt(Machine& m, const Args&) { m.halt(); }
void cont(Machine& m, const Args&) { m.continue_halted(); }
void kill(Machine& m, const Args&) { m.kill(); }

// The calculator turns off and, once turned on again, goes on where it was: nothing
// happens in a run, and interactive mode ends.
void off(Machine& m, const Args&) {
  if (m.terminal.interactive) m.stop(Outcome::Status::off);
}

constexpr CommandRow rows[] = {
    {"DOERR", 1, doerr}, {"ERRN", 0, errn}, {"ERRM", 0, errm}, {"ERR0", 0, err0},
    {"HALT", 0, halt},   {"CONT", 0, cont}, {"KILL", 0, kill}, {"OFF", 0, off},
};

}  // namespace

std::span<const CommandRow> control_commands() { return rows; }

}  // namespace rplrun
