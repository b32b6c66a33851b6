// rplrun: runs HP48 User RPL on a PC.
#include <csignal>

#include "rplrun/command_line.h"
#include "rplrun/machine.h"
#include "rplrun/report.h"

namespace {

// Ctrl-C and the timeout interrupt the running program; without SA_RESTART, so that
// they end a wait for a typed line too.
extern "C" void on_interrupt(int) { rplrun::request_interrupt(); }

}  // namespace

int main(int argc, char** argv) {
  rplrun::set_program_name(argc > 0 ? argv[0] : "rplrun");
  const rplrun::CommandLine command_line = rplrun::parse_command_line(argc, argv);
  if (command_line.exit_now) return *command_line.exit_now;
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGALRM, &action, nullptr);
  return rplrun::run_session(command_line.session);
}
