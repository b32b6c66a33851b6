# The grammar's only conflict is the dangling ELSE, a shift/reduce conflict on
# ELSE; there is no reduce/reduce conflict. "%expect 1" only counts conflicts,
# so this runs bison without it and reads the report itself.
#
# Variables: BISON (the program), GRAMMAR (the grammar file), WORK (a scratch
# directory).

file(READ "${GRAMMAR}" grammar)
string(FIND "${grammar}" "\n%expect 1\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the grammar no longer declares \"%expect 1\"")
endif()
string(REPLACE "\n%expect 1\n" "\n" grammar "${grammar}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/grammar.y" "${grammar}")

execute_process(
  COMMAND "${BISON}" -Wcounterexamples -o "${WORK}/grammar.c" "${WORK}/grammar.y"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE report
  ERROR_VARIABLE report)
message(STATUS "bison says:\n${report}")

if(NOT status EQUAL 0)
  message(FATAL_ERROR "bison failed")
endif()
string(REGEX MATCHALL "conflict on token [^ ]+" conflicts "${report}")
if(NOT report MATCHES "warning: 1 shift/reduce conflict \\[" OR report MATCHES "reduce/reduce"
   OR NOT conflicts STREQUAL "conflict on token ELSE")
  message(FATAL_ERROR "expected exactly one shift/reduce conflict, on ELSE, "
    "and no reduce/reduce conflict")
endif()
# Shifting resolves it: the ELSE goes with the inner IF (rule 17 inside 16).
set(shift_derivation
  "Shift derivation\n +statement\n +↳ 16: IF '\\(' expr '\\)' statement\n +↳ 17:")
if(NOT report MATCHES "${shift_derivation}")
  message(FATAL_ERROR "the conflict is not the dangling ELSE")
endif()
