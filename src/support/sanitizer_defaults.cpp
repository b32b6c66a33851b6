// Built into each program only in sanitizer builds (RPLGEN_SANITIZE).
//
// The programs' own failures end with small statuses, so a sanitizer report
// must end with another: it would pass for an ordinary error in a test that
// looks only at the status. Reports end the run with status 99, which no
// program uses for anything else. Leaks are checked at every exit, the
// failing ones included. The environment (ASAN_OPTIONS, UBSAN_OPTIONS) still
// overrides these defaults.

extern "C" const char* __asan_default_options() {
  return "exitcode=99:detect_leaks=1:detect_stack_use_after_return=1:"
         "check_initialization_order=1:strict_init_order=1:strict_string_checks=1";
}

extern "C" const char* __ubsan_default_options() {
  return "exitcode=99:halt_on_error=1:print_stacktrace=1";
}
