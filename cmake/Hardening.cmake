# Hardening, as Debian builds its packages: a stack protector, a relocation
# table made read-only and bound at start-up, and, where the code is
# optimised (fortifying needs it), the C library's checked variants of memcpy,
# sprintf and the like. Every target takes it, the generated scanner and parser
# too. Checking builds (sanitizers, coverage) leave it out: their
# instrumentation does the checking, and coverage is not optimised.
if(NOT RPL_SANITIZE AND NOT RPL_COVERAGE)
  add_compile_options(-fstack-protector-strong
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
