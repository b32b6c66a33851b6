// Built into the compiler only in sanitizer builds (RPLGEN_SANITIZE).
//
// The compiler's own failures end with status 1 or 2, so a sanitizer report
// must not end with either: it would pass for an ordinary error in a test
// that looks only at the status. Reports end the run with status 99.
// Leaks are checked at every exit, the failing ones included. The environment
// (ASAN_OPTIONS, UBSAN_OPTIONS) still overrides these defaults.

extern "C" const char* __asan_default_options() {
  return "exitcode=99:detect_leaks=1:detect_stack_use_after_return=1:"
         "check_initialization_order=1:strict_init_order=1:strict_string_checks=1";
}

extern "C" const char* __ubsan_default_options() {
  return "exitcode=99:halt_on_error=1:print_stacktrace=1";
}
