// Standard input from a terminal is read a line at a time: each line is
// scanned as soon as it is complete, not when a whole buffer has been typed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "process.h"

namespace {

TEST(Terminal, EachLineIsScannedWhenItIsComplete) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  int err_pipe[2];
  ASSERT_EQ(pipe(err_pipe), 0);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();
    const int slave = open(terminal.c_str(), O_RDWR);
    if (slave < 0) _exit(127);
    dup2(slave, 0);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(err_pipe[1], 2);
    close(master);
    close(err_pipe[0]);
    execl(rplgen_path().c_str(), "rplgen", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(err_pipe[1]);

  // The error stands on the second line; nothing more is typed, and the
  // terminal stays open, so only a line-at-a-time read can report it.
  const std::string typed = "x;\n}\n";
  ASSERT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  std::string err;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (err.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd fd{err_pipe[0], POLLIN, 0};
    if (poll(&fd, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = read(err_pipe[0], buffer, sizeof buffer);
    if (n <= 0) break;
    err.append(buffer, static_cast<std::size_t>(n));
  }
  EXPECT_EQ(err, "rplgen: 2: parse error\n");

  kill(child, SIGKILL);  // in case it still waits for input
  int status = 0;
  waitpid(child, &status, 0);
  close(err_pipe[0]);
  close(master);
}

}  // namespace
