#include "support/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rpl {

namespace {

const char* name_of_program = "";

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
  write_line(format, args, &saved);
  std::exit(status);
}

void vfatal(int status, const char* format, va_list args) {
  write_line(format, args, nullptr);
  std::exit(status);
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
