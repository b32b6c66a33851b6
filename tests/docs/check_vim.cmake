# The Vim support loads without errors, detects *.c48 files and highlights a
# sample as intended (see check_vim.vim).
#
# cmake -DVIM_RUNTIME=editors/vim -DSAMPLE=... -DCHECK=check_vim.vim -P check_vim.cmake
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

set(ENV{RPLGEN_VIM_RUNTIME} "${VIM_RUNTIME}")
set(ENV{RPLGEN_SAMPLE} "${SAMPLE}")
execute_process(COMMAND "${vim}" -N -u NONE -i NONE -n -es -S "${CHECK}"
  INPUT_FILE /dev/null OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Vim check failed (status ${status}):\n${err}${out}")
endif()
