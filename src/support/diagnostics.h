// Diagnostics: one line on standard error, "NAME: message", where NAME is the
// program name set by set_program_name (each program's main sets it to the
// name under which the program was invoked). The fatal ones end the process
// with the given status; the errno ones append ": " and the system's text for
// the error number current at the call. A null format writes no message part.
#pragma once

#include <cstdarg>

namespace rpl {

// The name that begins every diagnostic; the text must outlive its use.
void set_program_name(const char* name);

[[noreturn]] void fatal_errno(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
[[noreturn]] void fatal(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void warning_errno(const char* format, ...) __attribute__((format(printf, 1, 2)));
void warning(const char* format, ...) __attribute__((format(printf, 1, 2)));

[[noreturn]] void vfatal_errno(int status, const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
[[noreturn]] void vfatal(int status, const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
void vwarning_errno(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
void vwarning(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace rpl
