// rplrun: runs HP48 User RPL on a PC.
#include <sys/time.h>
#include <csignal>

#include "rplrun/command_line.h"
#include "rplrun/machine.h"
#include "rplrun/report.h"

namespace {

extern "C" void on_interrupt(int) { rplrun::request_interrupt(); }

void start_timer(double seconds) {
  itimerval timer{};
  timer.it_value.tv_sec = static_cast<time_t>(seconds);
  timer.it_value.tv_usec =
      static_cast<suseconds_t>((seconds - static_cast<double>(timer.it_value.tv_sec)) * 1e6);
  if (timer.it_value.tv_sec == 0 && timer.it_value.tv_usec == 0) timer.it_value.tv_usec = 1;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

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
  if (command_line.timeout_seconds > 0) start_timer(command_line.timeout_seconds);
  return rplrun::run_session(command_line.session);
}
