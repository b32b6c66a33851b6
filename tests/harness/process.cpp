#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string rplgen_path() { return RPLGEN_BINARY; }
std::string source_dir() { return RPLGEN_SOURCE_DIR; }

namespace {

void fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + std::strerror(errno)); }

// Puts `path` opened with `flags` on descriptor `fd` in the child.
void redirect(int fd, const char* path, int flags) {
  const int opened = open(path, flags);
  if (opened < 0) _exit(127);
  if (opened != fd) {
    dup2(opened, fd);
    close(opened);
  }
}

}  // namespace

Outcome run(const Invocation& inv) {
  signal(SIGPIPE, SIG_IGN);  // a child may exit before taking all its input
  int in_pipe[2] = {-1, -1}, out_pipe[2] = {-1, -1}, err_pipe[2];
  if (inv.stdin_kind == Stream::pipe && pipe(in_pipe) != 0) fail("pipe");
  if (inv.stdout_kind == Stream::pipe && pipe(out_pipe) != 0) fail("pipe");
  if (pipe(err_pipe) != 0) fail("pipe");

  std::vector<char*> argv;
  for (const std::string& arg : inv.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::string program = inv.program.empty() ? rplgen_path() : inv.program;

  const pid_t child = fork();
  if (child < 0) fail("fork");
  if (child == 0) {
    signal(SIGPIPE, SIG_DFL);
    switch (inv.stdin_kind) {
      case Stream::pipe: dup2(in_pipe[0], 0); close(in_pipe[0]); close(in_pipe[1]); break;
      case Stream::dev_null: redirect(0, "/dev/null", O_RDONLY); break;
      case Stream::file: redirect(0, inv.stdin_path.c_str(), O_RDONLY); break;
      case Stream::closed: close(0); break;
      case Stream::dev_full: redirect(0, "/dev/full", O_RDONLY); break;
    }
    switch (inv.stdout_kind) {
      case Stream::pipe: dup2(out_pipe[1], 1); close(out_pipe[0]); close(out_pipe[1]); break;
      case Stream::dev_full: redirect(1, "/dev/full", O_WRONLY); break;
      case Stream::dev_null: redirect(1, "/dev/null", O_WRONLY); break;
      case Stream::closed: close(1); break;
      case Stream::file: _exit(127);
    }
    dup2(err_pipe[1], 2);
    close(err_pipe[0]);
    close(err_pipe[1]);
    if (!inv.cwd.empty() && chdir(inv.cwd.c_str()) != 0) _exit(127);
    for (const auto& [resource, value] : inv.limits) {
      rlimit limit{};
      if (getrlimit(resource, &limit) != 0) _exit(127);
      limit.rlim_cur = value;
      if (setrlimit(resource, &limit) != 0) _exit(127);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }

  Outcome outcome;
  struct Channel {
    int fd;
    std::string* sink;
  };
  std::vector<Channel> readers;
  if (out_pipe[0] >= 0) {
    close(out_pipe[1]);
    readers.push_back({out_pipe[0], &outcome.out});
  }
  close(err_pipe[1]);
  readers.push_back({err_pipe[0], &outcome.err});
  int writer = -1;
  std::size_t written = 0;
  if (in_pipe[1] >= 0) {
    close(in_pipe[0]);
    writer = in_pipe[1];
    fcntl(writer, F_SETFL, O_NONBLOCK);
    if (inv.stdin_data.empty()) {
      close(writer);
      writer = -1;
    }
  }

  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(inv.timeout_seconds * 1000));
  char buffer[65536];
  while (!readers.empty() || writer >= 0) {
    std::vector<pollfd> fds;
    for (const Channel& c : readers) fds.push_back({c.fd, POLLIN, 0});
    if (writer >= 0) fds.push_back({writer, POLLOUT, 0});
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      outcome.timed_out = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) {
      if (errno == EINTR) continue;
      fail("poll");
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      if (writer >= 0 && fds[i].fd == writer) {
        const ssize_t n = write(writer, inv.stdin_data.data() + written,
                                inv.stdin_data.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        if (n < 0 && errno != EAGAIN) written = inv.stdin_data.size();  // child gone
        if (written == inv.stdin_data.size()) {
          close(writer);
          writer = -1;
        }
        continue;
      }
      for (std::size_t r = 0; r < readers.size(); ++r) {
        if (readers[r].fd != fds[i].fd) continue;
        const ssize_t n = read(readers[r].fd, buffer, sizeof buffer);
        if (n > 0) {
          readers[r].sink->append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
          close(readers[r].fd);
          readers.erase(readers.begin() + static_cast<long>(r));
        }
        break;
      }
    }
  }
  for (const Channel& c : readers) close(c.fd);
  if (writer >= 0) close(writer);

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  return outcome;
}

Outcome run_rplgen(std::vector<std::string> args, std::string input) {
  Invocation inv;
  inv.argv = {"rplgen"};
  inv.argv.insert(inv.argv.end(), args.begin(), args.end());
  inv.stdin_data = std::move(input);
  return run(inv);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string make_temp_dir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                        "/rplgen-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) fail("mkdtemp");
  return pattern;
}
