#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "harness.h"

namespace harness {
namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Puts `path` opened with `flags` on descriptor `fd` in the child.
void redirect(int fd, const char* path, int flags) {
  const int opened = open(path, flags);
  if (opened < 0) _exit(127);
  if (opened != fd) {
    dup2(opened, fd);
    close(opened);
  }
}

// The words of RPL_TEST_WRAPPER; none when it is unset or blank.
std::vector<std::string> wrapper_words() {
  const char* wrapper = std::getenv("RPL_TEST_WRAPPER");
  std::istringstream in(wrapper != nullptr ? wrapper : "");
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// What the child executes: the program itself, or the wrapper in front of it,
// which then finds the program by argv[0], if need be through a link named
// argv[0] in `path_dir` (put in front of the PATH).
struct Command {
  std::string file;
  std::vector<std::string> argv;
  bool search_path = false;
  std::string path_dir;
};

Command command_for(const Invocation& inv, const std::string& private_dir) {
  const std::vector<std::string> wrapper = wrapper_words();
  Command plain{inv.program, inv.argv, false, ""};
  if (wrapper.empty() || inv.argv.empty() || inv.argv[0].empty()) return plain;
  const std::string& name = inv.argv[0];
  Command wrapped{wrapper[0], wrapper, true, ""};
  if (name != inv.program) {
    if (name.find('/') != std::string::npos) return plain;
    wrapped.path_dir = private_dir + "/bin";
    std::filesystem::create_directory(wrapped.path_dir);
    std::filesystem::create_symlink(std::filesystem::absolute(inv.program),
                                    wrapped.path_dir + "/" + name);
  }
  wrapped.argv.insert(wrapped.argv.end(), inv.argv.begin(), inv.argv.end());
  return wrapped;
}

// The master side of a pseudo-terminal; the child opens the slave side as its
// controlling terminal and standard input.
struct Terminal {
  int master = -1;
  std::string slave;
};

Terminal open_terminal() {
  Terminal terminal;
  terminal.master = posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal.master < 0 || grantpt(terminal.master) != 0 || unlockpt(terminal.master) != 0) {
    fail("pseudo-terminal");
  }
  terminal.slave = ptsname(terminal.master);
  return terminal;
}

// In the child: the terminal becomes the controlling terminal and standard
// input, without echo, so that nothing typed needs to be read back.
void use_terminal(const Terminal& terminal) {
  setsid();
  const int slave = open(terminal.slave.c_str(), O_RDWR);
  if (slave < 0) _exit(127);
  termios modes{};
  if (tcgetattr(slave, &modes) == 0) {
    modes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(slave, TCSANOW, &modes);
  }
  dup2(slave, 0);
  close(slave);
  close(terminal.master);
}

[[noreturn]] void exec_child(const Invocation& inv, const Command& command,
                             const std::string& work, const std::string& stdin_path,
                             const Terminal& terminal, const int in_pipe[2],
                             const int out_pipe[2], const int err_pipe[2]) {
  signal(SIGPIPE, inv.ignore_sigpipe ? SIG_IGN : SIG_DFL);
  switch (inv.stdin_kind) {
    case Stream::pipe: dup2(in_pipe[0], 0); close(in_pipe[0]); close(in_pipe[1]); break;
    case Stream::file: redirect(0, stdin_path.c_str(), O_RDONLY); break;
    case Stream::terminal: use_terminal(terminal); break;
    case Stream::dev_null: redirect(0, "/dev/null", O_RDONLY); break;
    case Stream::dev_full: redirect(0, "/dev/full", O_RDONLY); break;
    case Stream::closed: close(0); break;
    case Stream::broken_pipe: _exit(127);
  }
  switch (inv.stdout_kind) {
    case Stream::pipe:
    case Stream::broken_pipe: dup2(out_pipe[1], 1); close(out_pipe[0]); close(out_pipe[1]); break;
    case Stream::dev_null: redirect(1, "/dev/null", O_WRONLY); break;
    case Stream::dev_full: redirect(1, "/dev/full", O_WRONLY); break;
    case Stream::closed: close(1); break;
    case Stream::terminal:
      if (inv.stdin_kind != Stream::terminal) _exit(127);
      dup2(0, 1);
      break;
    case Stream::file: _exit(127);
  }
  dup2(err_pipe[1], 2);
  close(err_pipe[0]);
  close(err_pipe[1]);
  if (chdir(work.c_str()) != 0) _exit(127);
  for (const auto& [resource, value] : inv.limits) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0) _exit(127);
    limit.rlim_cur = value;
    if (setrlimit(resource, &limit) != 0) _exit(127);
  }
  for (const auto& [name, value] : inv.environment) setenv(name.c_str(), value.c_str(), 1);
  if (!command.path_dir.empty()) {
    const char* path = std::getenv("PATH");
    setenv("PATH", (command.path_dir + ":" + (path != nullptr ? path : "")).c_str(), 1);
  }
  std::vector<char*> argv;
  for (const std::string& arg : command.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  if (command.search_path) {
    execvp(command.file.c_str(), argv.data());
  } else {
    execv(command.file.c_str(), argv.data());
  }
  _exit(127);
}

// A test runner may start us with a standard stream closed; the pipes made
// below would then take its number, and the child's redirections would close
// them again. Holding /dev/null there keeps 0, 1 and 2 out of their way.
void keep_standard_streams_open() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) < 0 && open("/dev/null", O_RDWR) != fd) fail("/dev/null");
  }
}

}  // namespace

Outcome run(const Invocation& inv) {
  if (inv.program.empty()) throw std::invalid_argument("no program to run");
  keep_standard_streams_open();
  signal(SIGPIPE, SIG_IGN);  // a child may exit before taking all its input

  // Files of the harness's own (standard input, links) stay apart from the
  // program's working directory.
  const std::string private_dir = make_temp_dir();
  const bool scratch = inv.cwd.empty();
  const std::string work = scratch ? make_temp_dir() : inv.cwd;
  for (const File& file : inv.files) write_file(work + "/" + file.name, file.bytes);
  for (const std::string& fifo : inv.fifos) {
    if (mkfifo((work + "/" + fifo).c_str(), 0600) != 0) fail("mkfifo " + fifo);
  }
  std::string stdin_path;
  if (inv.stdin_kind == Stream::file && !inv.stdin_from.empty()) {
    stdin_path = inv.stdin_from;
  } else if (inv.stdin_kind == Stream::file) {
    stdin_path = private_dir + "/standard-input";
    write_file(stdin_path, inv.stdin_data);
  }
  Terminal terminal;
  if (inv.stdin_kind == Stream::terminal) terminal = open_terminal();
  const Command command = command_for(inv, private_dir);

  int in_pipe[2] = {-1, -1}, out_pipe[2] = {-1, -1}, err_pipe[2];
  if (inv.stdin_kind == Stream::pipe && pipe(in_pipe) != 0) fail("pipe");
  const bool stdout_pipe = inv.stdout_kind == Stream::pipe || inv.stdout_kind == Stream::broken_pipe;
  if (stdout_pipe && pipe(out_pipe) != 0) fail("pipe");
  // Nobody will read: the reading end goes before the program starts.
  if (inv.stdout_kind == Stream::broken_pipe) {
    close(out_pipe[0]);
    out_pipe[0] = -1;
  }
  if (pipe(err_pipe) != 0) fail("pipe");

  const pid_t child = fork();
  if (child < 0) fail("fork");
  if (child == 0) exec_child(inv, command, work, stdin_path, terminal, in_pipe, out_pipe, err_pipe);

  Outcome outcome;
  struct Channel {
    int fd;
    std::string* sink;
  };
  std::vector<Channel> readers;
  if (out_pipe[0] >= 0) {
    close(out_pipe[1]);
    readers.push_back({out_pipe[0], &outcome.out});
  } else if (out_pipe[1] >= 0) {
    close(out_pipe[1]);
  } else if (inv.stdout_kind == Stream::terminal) {
    readers.push_back({terminal.master, &outcome.out});
  }
  const bool screen = inv.stdout_kind == Stream::terminal;
  close(err_pipe[1]);
  readers.push_back({err_pipe[0], &outcome.err});
  // What is typed at a terminal goes to its master side, which stays open
  // until the child has ended: closing it would hang the terminal up.
  int writer = -1;
  if (in_pipe[1] >= 0) {
    close(in_pipe[0]);
    writer = in_pipe[1];
  } else if (terminal.master >= 0) {
    writer = terminal.master;
  }
  const auto stop_writing = [&] {
    if (writer != terminal.master) close(writer);
    writer = -1;
  };
  // What is being typed: stdin_data, then each reply once its cue has been written.
  std::string typing = inv.stdin_data;
  std::size_t written = 0;
  std::size_t next_reply = 0;
  std::size_t seen = 0;  // standard output before this is past every cue found
  bool awaiting_keys = false;  // a cue was shown; the terminal is still canonical
  const auto canonical = [&] {
    termios modes{};
    return tcgetattr(terminal.master, &modes) == 0 && (modes.c_lflag & ICANON) != 0;
  };
  const auto advance = [&] {
    awaiting_keys = false;
    while (writer >= 0 && written == typing.size()) {
      if (next_reply == inv.replies.size() || (out_pipe[0] < 0 && !screen)) {
        stop_writing();
        return;
      }
      const Invocation::Reply& reply = inv.replies[next_reply];
      const std::size_t at = outcome.out.find(reply.after, seen);
      if (at == std::string::npos) return;
      if (reply.keys && canonical()) {
        awaiting_keys = true;
        return;
      }
      seen = at + reply.after.size();
      typing = reply.typed;
      written = 0;
      ++next_reply;
    }
  };
  if (writer >= 0) fcntl(writer, F_SETFL, O_NONBLOCK);
  advance();

  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(inv.timeout_seconds * 1000));
  char buffer[65536];
  while (!readers.empty() || writer >= 0) {
    if (readers.empty() && written == typing.size()) {  // no cue can come any more
      stop_writing();
      break;
    }
    std::vector<pollfd> fds;
    for (const Channel& c : readers) fds.push_back({c.fd, POLLIN, 0});
    if (writer >= 0 && written < typing.size()) fds.push_back({writer, POLLOUT, 0});
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      outcome.timed_out = true;
      kill(child, SIGKILL);
      break;
    }
    // Waiting for the terminal to leave canonical mode: look again soon.
    const int wait = awaiting_keys ? std::min<int>(10, static_cast<int>(left.count()))
                                   : static_cast<int>(left.count());
    const int ready = poll(fds.data(), fds.size(), wait);
    if (ready == 0 && awaiting_keys) advance();
    if (ready < 0) {
      if (errno == EINTR) continue;
      fail("poll");
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      if (writer >= 0 && fds[i].fd == writer && (fds[i].events & POLLOUT)) {
        const ssize_t n = write(writer, typing.data() + written, typing.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        if (n < 0 && errno != EAGAIN) {  // child gone
          written = typing.size();
          next_reply = inv.replies.size();
        }
        advance();
        continue;
      }
      for (std::size_t r = 0; r < readers.size(); ++r) {
        if (readers[r].fd != fds[i].fd) continue;
        const ssize_t n = read(readers[r].fd, buffer, sizeof buffer);
        if (n > 0) {
          readers[r].sink->append(buffer, static_cast<std::size_t>(n));
          advance();
        } else if (n == 0 || errno != EINTR) {
          // The terminal's master side (EIO once the child has gone) is closed below.
          if (readers[r].fd != terminal.master) close(readers[r].fd);
          readers.erase(readers.begin() + static_cast<long>(r));
        }
        break;
      }
    }
  }
  for (const Channel& c : readers) {
    if (c.fd != terminal.master) close(c.fd);
  }
  if (writer >= 0) stop_writing();

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  if (terminal.master >= 0) close(terminal.master);
  std::filesystem::remove_all(private_dir);
  if (scratch) std::filesystem::remove_all(work);
  return outcome;
}

}  // namespace harness
