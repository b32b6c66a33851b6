#include "line_reader.h"

#include <histedit.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "machine/machine.h"
#include "shared_library.h"

namespace rplrun {

namespace {

// libedit's functions. The library is opened at the first terminal read, not at every
// start: most runs read no terminal, and loading it (with the terminal and BSD
// libraries it needs) at start-up is a fair part of a short run's time.
struct Libedit {
  decltype(&el_init) init;
  decltype(&el_end) end;
  decltype(&el_set) set;
  decltype(&el_get) get;
  decltype(&el_gets) gets;
  decltype(&::history_init) history_init;
  decltype(&::history_end) history_end;
  decltype(&::history) history;
};

// Null when the library cannot be opened: lines are then read without editing.
const Libedit* libedit() {
  static const std::optional<Libedit> opened = []() -> std::optional<Libedit> {
    SharedLibrary library("libedit.so.2");
    Libedit edit{};
    library.find(edit.init, "el_init");
    library.find(edit.end, "el_end");
    library.find(edit.set, "el_set");
    library.find(edit.get, "el_get");
    library.find(edit.gets, "el_gets");
    library.find(edit.history_init, "history_init");
    library.find(edit.history_end, "history_end");
    library.find(edit.history, "history");
    if (!library.usable()) return std::nullopt;
    return edit;
  }();
  return opened ? &*opened : nullptr;
}

}  // namespace

// libedit (BSD licence) at a terminal: emacs keys, and the history loaded from
// ~/.rplrun_history and written back after each line typed.
class LineReader::Editor {
 public:
  Editor() : edit_(libedit()) {
    if (!edit_) return;
    editor_ = edit_->init("rplrun", stdin, stdout, stderr);
    history_ = edit_->history_init();
    if (!editor_ || !history_) return;
    HistEvent event;
    edit_->history(history_, &event, H_SETSIZE, 1000);
    edit_->history(history_, &event, H_SETUNIQUE, 1);
    edit_->set(editor_, EL_EDITOR, "emacs");
    edit_->set(editor_, EL_HIST, edit_->history, history_);
    edit_->set(editor_, EL_CLIENTDATA, this);
    edit_->set(editor_, EL_PROMPT, &Editor::prompt_of);
    if (const char* home = std::getenv("HOME"); home && *home) {
      file_ = std::string(home) + "/.rplrun_history";
      edit_->history(history_, &event, H_LOAD, file_.c_str());
    }
  }
  ~Editor() {
    if (editor_) edit_->end(editor_);
    if (history_) edit_->history_end(history_);
  }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  bool ready() const { return editor_ && history_; }

  Result read(std::string& line, const std::string& prompt, bool remember) {
    prompt_ = prompt;
    for (;;) {
      if (interrupt_requested()) return Result::interrupted;
      int count = 0;
      errno = 0;
      const char* got = edit_->gets(editor_, &count);
      if (got) {
        line.assign(got, static_cast<std::size_t>(count));
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (remember && line.find_first_not_of(" \t") != std::string::npos) remember_line(line);
        return Result::line;
      }
      if (interrupt_requested()) return Result::interrupted;
      // Another signal (the terminal resized) goes on with the line; Ctrl-D ends it.
      if (count < 0 && errno == EINTR) continue;
      return Result::end;
    }
  }

 private:
  static const char* prompt_of(EditLine* editor) {
    void* data = nullptr;
    libedit()->get(editor, EL_CLIENTDATA, &data);
    return static_cast<Editor*>(data)->prompt_.c_str();
  }

  void remember_line(const std::string& line) {
    HistEvent event;
    edit_->history(history_, &event, H_ENTER, line.c_str());
    if (!file_.empty()) edit_->history(history_, &event, H_SAVE, file_.c_str());
  }

  const Libedit* edit_;
  EditLine* editor_ = nullptr;
  History* history_ = nullptr;
  std::string prompt_;
  std::string file_;
};

LineReader::LineReader(int fd) : fd_(fd), terminal_(isatty(fd) != 0) {
  if (terminal_ && isatty(STDOUT_FILENO) && fd == STDIN_FILENO) {
    editor_ = std::make_unique<Editor>();
    if (!editor_->ready()) editor_.reset();
  }
}

LineReader::~LineReader() = default;

LineReader::Result LineReader::read(std::string& line, const std::string& prompt, bool remember) {
  const Result result = editor_ ? editor_->read(line, prompt, remember) : read_raw(line);
  if (result == Result::line) ++lines_;
  return result;
}

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

// What can be read at once is read, so that the end of the input (Ctrl-D) stays for
// the next read rather than passing for a line.
bool LineReader::ready() {
  if (editor_) {
    // The editor reads for itself; a terminal gives input only by whole lines.
    pollfd input{fd_, POLLIN, 0};
    return poll(&input, 1, 0) > 0;
  }
  for (;;) {
    if (pending_.find('\n', scanned_) != std::string::npos) return true;
    if (ended_) return false;
    pollfd input{fd_, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) return false;
    fill();
  }
}

void LineReader::fill() {
  // What was taken goes before more is read, once it is most of the buffer.
  if (taken_ > pending_.size() / 2) {
    pending_.erase(0, taken_);
    scanned_ -= taken_;
    taken_ = 0;
  }
  // Read into the buffer itself, which grows geometrically with a long line.
  const std::size_t size = pending_.size();
  constexpr std::size_t chunk = std::size_t{1} << 16;
  if (pending_.capacity() - size < chunk)
    pending_.reserve(std::max(2 * pending_.capacity(), size + chunk));
  pending_.resize(size + chunk);
  const ssize_t n = ::read(fd_, pending_.data() + size, chunk);
  const bool interrupted = n < 0 && errno == EINTR;
  pending_.resize(size + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
  if (n <= 0 && !interrupted) ended_ = true;
}

LineReader::Result LineReader::read_raw(std::string& line) {
  for (;;) {
    // Each byte is looked at once for a line end, however long the line.
    const std::size_t end = pending_.find('\n', scanned_);
    scanned_ = end == std::string::npos ? pending_.size() : end + 1;
    const bool last = end == std::string::npos && ended_;
    if (last) {
      // A terminal reads on after Ctrl-D; a pipe or a file has ended for good.
      if (terminal_) ended_ = false;
      if (taken_ == pending_.size()) return Result::end;
    }
    if (end != std::string::npos || last) {
      const std::size_t stop = end == std::string::npos ? pending_.size() : end;
      if (taken_ == 0 && scanned_ == pending_.size()) {
        // The whole buffer is this line (one long line): it moves rather than copies.
        line = std::move(pending_);
        line.resize(stop);
        pending_.clear();
        scanned_ = 0;
      } else {
        line.assign(pending_, taken_, stop - taken_);
      }
      taken_ = scanned_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return Result::line;
    }
    if (!wait_for_input()) {
      pending_.clear();
      taken_ = scanned_ = 0;
      return Result::interrupted;
    }
    fill();
  }
}

}  // namespace rplrun
