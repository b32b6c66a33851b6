# rplrun's manual page is lint-clean, documents every option that the program
# accepts and no other, names only messages that the program has, and its
# examples print what the page shows.
#
# cmake -DMAN_PAGE=... -DRPLRUN=... -DRPLGEN=... -DEXAMPLES=... -DSOURCES=...
#   -DWORK_DIR=...
#   -P check_rplrun_man_page.cmake
#
# An example is a literal display in EXAMPLES whose lines starting with "$ "
# are shell commands, run in a copy of the example programs with both programs
# on the PATH; the lines after each command are its output, standard output
# and standard error together.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/man_page.cmake)

file(READ "${MAN_PAGE}" page)
string(REPLACE "\\-" "-" plain_page "${page}")

# Options: exactly those of --help.
execute_process(COMMAND "${RPLRUN}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${RPLRUN} --help failed (status ${status})")
endif()
string(REGEX MATCHALL "\n  -[A-Za-z0-9]," short_options "${help}")
string(REGEX MATCHALL "--[a-z][a-z-]*" long_options "${help}")
list(REMOVE_DUPLICATES long_options)
foreach(option IN LISTS short_options)
  string(REGEX REPLACE "^\n  -(.),$" "\\1" letter "${option}")
  if(NOT plain_page MATCHES "Fl ${letter}( |\n)")
    message(SEND_ERROR "the manual page does not document the option -${letter}")
  endif()
endforeach()
foreach(option IN LISTS long_options)
  string(SUBSTRING "${option}" 1 -1 written)  # Fl writes the first dash
  if(NOT plain_page MATCHES "Fl ${written}([^a-z-]|$)")
    message(SEND_ERROR "the manual page does not document the option ${option}")
  endif()
endforeach()
string(REGEX MATCHALL "Fl -[a-z][a-z-]*" page_options "${plain_page}")
list(REMOVE_DUPLICATES page_options)
foreach(option IN LISTS page_options)
  string(REGEX REPLACE "^Fl -" "" name "${option}")
  list(FIND long_options "--${name}" known)
  if(known EQUAL -1)
    message(SEND_ERROR "the manual page documents --${name}, which rplrun does not have")
  endif()
endforeach()

# Messages: each fixed text of an entry under DIAGNOSTICS (the words after
# "No") is in the program: in its strings, or in a literal of its sources, since
# an optimised build without debugging information may build a short text from
# pieces that no longer stand whole in the binary.
file(STRINGS "${RPLRUN}" program_strings LENGTH_MINIMUM 4)
file(GLOB_RECURSE sources "${SOURCES}/*.cpp" "${SOURCES}/*.h")
foreach(source IN LISTS sources)
  file(READ "${source}" source_text)
  string(APPEND program_strings "${source_text}")
endforeach()
man_page_section(diagnostics "${page}" DIAGNOSTICS)
string(REPLACE ";" "\\;" diagnostics "${diagnostics}")
string(REPLACE "\n" ";" diagnostics "${diagnostics}")
set(texts 0)
foreach(line IN LISTS diagnostics)
  if(NOT line MATCHES "^\\.It ")
    continue()
  endif()
  separate_arguments(words UNIX_COMMAND "${line}")
  list(APPEND words ".")  # ends the last text
  set(text "")
  set(in_text FALSE)
  foreach(word IN LISTS words)
    if(word MATCHES "^([A-Z][a-z]|[:,.])$")  # a macro or a lone delimiter ends a text
      if(NOT text STREQUAL "")
        string(FIND "${program_strings}" "${text}" at)
        if(at EQUAL -1)
          message(SEND_ERROR
            "the manual page lists \"${text}\", which ${RPLRUN} does not contain")
        endif()
        math(EXPR texts "${texts} + 1")
      endif()
      set(text "")
      if(NOT word MATCHES "^[:,.]$")
        string(COMPARE EQUAL "${word}" "No" in_text)
      endif()
    elseif(in_text)
      string(STRIP "${text} ${word}" text)
    endif()
  endforeach()
endforeach()
if(texts LESS 10)
  message(SEND_ERROR "only ${texts} fixed texts found under DIAGNOSTICS")
endif()

# Examples.
man_page_section(examples "${page}" EXAMPLES)
man_page_displays(display "${examples}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(COPY "${EXAMPLES}/" DESTINATION "${WORK_DIR}" FILES_MATCHING PATTERN "*.c48")
file(REAL_PATH "${RPLRUN}" rplrun_dir)
file(REAL_PATH "${RPLGEN}" rplgen_dir)
get_filename_component(rplrun_dir "${rplrun_dir}" DIRECTORY)
get_filename_component(rplgen_dir "${rplgen_dir}" DIRECTORY)
set(commands 0)
math(EXPR last "${display_count} - 1")
foreach(index RANGE ${last})
  set(display "${display_${index}}")
  if(NOT display MATCHES "^\\$ ")
    continue()
  endif()
  # Split at the command lines: each piece is a command and its output.
  string(REPLACE ";" "\\;" display "${display}")
  string(REPLACE "\n$ " "\n;" display "${display}")
  string(REGEX REPLACE "^\\$ " "" pieces "${display}")
  foreach(piece IN LISTS pieces)
    if(piece STREQUAL "")
      continue()
    endif()
    string(FIND "${piece}" "\n" line_end)
    string(SUBSTRING "${piece}" 0 ${line_end} command)
    math(EXPR line_end "${line_end} + 1")
    string(SUBSTRING "${piece}" ${line_end} -1 expected)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "PATH=${rplrun_dir}:${rplgen_dir}:$ENV{PATH}"
        sh -c "{ ${command}\n} 2>&1"
      WORKING_DIRECTORY "${WORK_DIR}" OUTPUT_VARIABLE out RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT out STREQUAL expected)
      message(SEND_ERROR "the manual page's example\n  $ ${command}\nprints\n${out}"
        "(status ${status})\nbut the page shows\n${expected}")
    endif()
    math(EXPR commands "${commands} + 1")
  endforeach()
endforeach()
if(commands LESS 5)
  message(SEND_ERROR "only ${commands} example commands found under EXAMPLES")
endif()

man_page_lint("${MAN_PAGE}")
