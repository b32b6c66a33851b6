# require_tool(<variable> <program> <Debian package>)
#
# Finds a program that a test script needs and stores its path in <variable>.
# When it is missing, the test is skipped on a developer's machine (the script
# prints the marker that the test's SKIP_REGULAR_EXPRESSION matches, and sets
# RPL_TOOL_MISSING so that the script can stop), but fails under CI, which
# installs every such package.
function(require_tool variable program package)
  find_program(found NAMES ${program} NO_CACHE)
  if(found)
    set(${variable} "${found}" PARENT_SCOPE)
    return()
  endif()
  if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "")
    message(FATAL_ERROR "${program} is missing: CI must install the Debian package ${package}")
  endif()
  message("rpl-test-skipped: ${program} is missing; install the Debian package ${package}")
  set(RPL_TOOL_MISSING TRUE PARENT_SCOPE)
endfunction()

# Whether a binary file contains the given text as one of its strings.
function(binary_contains result file text)
  string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" pattern "${text}")
  file(STRINGS "${file}" matches REGEX "^${pattern}$")
  if(matches)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()
