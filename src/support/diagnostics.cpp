#include "support/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rpl {

namespace {

const char* name_of_program = "";

// The status of the fatal error that is ending the process, once there is one.
int ending_with = -1;

// A fatal error while the process is already ending for another (a destructor
// that exit runs may fail too) adds no second line and must not call exit
// from inside exit: the process ends at once, with the first error's status.
// What it has written is flushed first, as exit would have done.
void end_now_if_ending() {
  std::fflush(nullptr);
  if (ending_with >= 0) std::_Exit(ending_with);
}

[[noreturn]] void end(int status) {
  ending_with = status;
  std::exit(status);
}

// Writing may change errno, so callers save it before anything is written.
void write_line(const char* format, va_list args, const int* saved_errno) {
  std::fprintf(stderr, "%s: ", name_of_program);
  if (format != nullptr) {
    std::vfprintf(stderr, format, args);
    if (saved_errno != nullptr) std::fputs(": ", stderr);
  }
  if (saved_errno != nullptr) std::fputs(std::strerror(*saved_errno), stderr);
  std::fputc('\n', stderr);
}

}  // namespace

void set_program_name(const char* name) { name_of_program = name; }

void vfatal_errno(int status, const char* format, va_list args) {
  const int saved = errno;
  end_now_if_ending();
  write_line(format, args, &saved);
  end(status);
}

void vfatal(int status, const char* format, va_list args) {
  end_now_if_ending();
  write_line(format, args, nullptr);
  end(status);
}

void vwarning_errno(const char* format, va_list args) {
  const int saved = errno;
  write_line(format, args, &saved);
}

void vwarning(const char* format, va_list args) { write_line(format, args, nullptr); }

void fatal_errno(int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vfatal_errno(status, format, args);
}

void fatal(int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vfatal(status, format, args);
}

void warning_errno(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vwarning_errno(format, args);
  va_end(args);
}

void warning(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vwarning(format, args);
  va_end(args);
}

}  // namespace rpl
