// rplrun: runs HP48 User RPL on a PC.
#include <csignal>
#include <new>

#include "command_line.h"
#include "commands/table.h"
#include "machine/machine.h"
#include "report.h"
#include "support/memory.h"

namespace {

// Ctrl-C and the timeout interrupt the running program; without SA_RESTART, so that
// they end a wait for a typed line too.
extern "C" void on_interrupt(int) { rplrun::request_interrupt(); }

}  // namespace

int main(int argc, char** argv) {
  rplrun::set_program_name(argc > 0 ? argv[0] : "rplrun");
  rplrun::install_commands();
  const rplrun::CommandLine command_line = rplrun::parse_command_line(argc, argv);
  if (command_line.exit_now) return *command_line.exit_now;
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGALRM, &action, nullptr);
  try {
    return rplrun::run_session(command_line.session);
  } catch (const std::bad_alloc&) {
    // Memory that runs out outside any RPL command (reading, the stack printed) ends
    // the run with one line, as in the compiler.
    rpl::out_of_memory();
  }
}
