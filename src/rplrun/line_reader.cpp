#include "rplrun/line_reader.h"

#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "rplrun/machine.h"

namespace rplrun {

// Waits until the input can be read; false when an interruption came first. SIGINT is
// blocked but while ppoll waits, so that one coming just before the wait still ends it.
bool LineReader::wait_for_input() {
  sigset_t interrupt;
  sigset_t unblocked;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  sigaddset(&interrupt, SIGALRM);
  pthread_sigmask(SIG_BLOCK, &interrupt, &unblocked);
  bool ready = false;
  while (!interrupt_requested()) {
    pollfd input{fd_, POLLIN, 0};
    if (ppoll(&input, 1, nullptr, &unblocked) >= 0 || errno != EINTR) {
      ready = true;
      break;
    }
  }
  pthread_sigmask(SIG_SETMASK, &unblocked, nullptr);
  return ready;
}

LineReader::Result LineReader::read(std::string& line) {
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos || (ended_ && !pending_.empty())) {
      line = pending_.substr(0, end);
      pending_.erase(0, end == std::string::npos ? end : end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      ++lines_;
      return Result::line;
    }
    if (ended_) return Result::end;
    if (!wait_for_input()) {
      pending_.clear();
      return Result::interrupted;
    }
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      pending_.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      ended_ = true;
    }
  }
}

}  // namespace rplrun
