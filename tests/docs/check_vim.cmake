# The Vim support loads without errors, detects source files and transfer
# files, highlights samples of both as intended, compiles with the real
# compiler, and indents (see check_vim.vim).
#
# cmake -DVIM_RUNTIME=editors/vim -DSAMPLES=... -DCHECK=check_vim.vim -DRPLGEN=...
#       -DRPLRUN=... -DWORK_DIR=... -P check_vim.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../harness/require_tool.cmake)

require_tool(vim vim vim)
if(RPL_TOOL_MISSING)
  return()
endif()
# vim-tiny installs itself as "vim" too, but has neither syntax colouring nor scripts.
execute_process(COMMAND "${vim}" --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT version MATCHES "\\+syntax" OR NOT version MATCHES "\\+eval")
  string(CONCAT why "${vim} has no syntax colouring or no scripting (vim-tiny?); "
    "install the Debian package vim")
  if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "")
    message(FATAL_ERROR "${why}")
  endif()
  message("rpl-test-skipped: ${why}")
  return()
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(rplgen_dir "${RPLGEN}" DIRECTORY)
get_filename_component(rplrun_dir "${RPLRUN}" DIRECTORY)
set(ENV{RPLRUN_DIR} "${rplrun_dir}")
set(ENV{RPLGEN_VIM_RUNTIME} "${VIM_RUNTIME}")
set(ENV{RPLGEN_SAMPLES} "${SAMPLES}")
set(ENV{RPLGEN_DIR} "${rplgen_dir}")
set(ENV{RPLGEN_WORK_DIR} "${WORK_DIR}")
# The compiler plugin's 'makeprg' is written for a POSIX shell.
set(ENV{SHELL} /bin/sh)
execute_process(COMMAND "${vim}" -N -u NONE -i NONE -n -es -S "${CHECK}"
  INPUT_FILE /dev/null OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Vim check failed (status ${status}):\n${err}${out}")
endif()
