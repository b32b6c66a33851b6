# The manual page is lint-clean, lists every diagnostic, names only messages
# that the compiler really has, and its example compiles as shown.
#
# cmake -DMAN_PAGE=... -DRPLGEN=... -DWORK_DIR=... -P check_man_page.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/man_page.cmake)

file(READ "${MAN_PAGE}" page)

# Every message of the compiler has an entry.
set(messages
  "parse error"
  "parser stack overflow"
  "no output is produced, since no input was provided"
  "write error"
  "input in flex scanner failed"
  "fatal error - scanner input buffer overflow"
  "out of dynamic memory in Fn yy_create_buffer"
  "out of dynamic memory in Fn yyensure_buffer_stack"
  "out of dynamic memory in Fn yy_get_next_buffer"
  "fatal flex scanner internal error--end of buffer missed"
  "fatal flex scanner internal error--no action found")
foreach(message IN LISTS messages)
  string(FIND "${page}" "\n.It ${message}" at)
  if(at EQUAL -1)
    string(FIND "${page}" " No ${message}" at)
  endif()
  if(at EQUAL -1)
    message(SEND_ERROR "the manual page does not list the message \"${message}\"")
  endif()
endforeach()

# Every fixed message listed under DIAGNOSTICS is one that the binary has.
man_page_section(diagnostics "${page}" DIAGNOSTICS)
string(REPLACE ";" "\\;" diagnostics "${diagnostics}")
string(REPLACE "\n" ";" diagnostics "${diagnostics}")
foreach(line IN LISTS diagnostics)
  if(NOT line MATCHES "^\\.It ")
    continue()
  endif()
  string(REGEX REPLACE "^\\.It " "" item "${line}")
  string(REGEX REPLACE " Fn ([A-Za-z_]+)$" " \\1()" item "${item}")
  string(REGEX REPLACE ".* No " "" item "${item}")
  string(REGEX REPLACE " : Ar .*" "" item "${item}")
  if(item MATCHES "^Nm( |$)")
    continue()  # only the program's name and the system's text
  endif()
  binary_contains(known "${RPLGEN}" "${item}")
  if(NOT known)
    message(SEND_ERROR "the manual page lists \"${item}\", which ${RPLGEN} does not contain")
  endif()
endforeach()

# The example: the first literal display is a source, the second its output.
man_page_displays(display "${page}")
if(display_count LESS 2)
  message(FATAL_ERROR "the manual page has no example source and output")
endif()
file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${WORK_DIR}/example.c48" "${display_0}")
execute_process(COMMAND "${RPLGEN}" example.c48 WORKING_DIRECTORY "${WORK_DIR}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out STREQUAL display_1)
  message(SEND_ERROR "the manual page's example compiles to\n${out}${err}(status ${status})\n"
    "but the page shows\n${display_1}")
endif()

man_page_lint("${MAN_PAGE}")
