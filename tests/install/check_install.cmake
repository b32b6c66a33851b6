# "cmake --install" into a fresh prefix puts exactly the expected files in
# place and records them all for uninstalling; the installed documentation
# holds together (see installed_docs.cmake); and the installed compiler
# compiles the installed examples to their installed expected output.
#
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DPROGRAMS=... -DVERSION=...
#       -DCOMPONENT=... -DGZIP=... -P check_install.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/installed_docs.cmake)

set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
rpl_manifest_state(manifest_before "${BUILD_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    --component "${COMPONENT}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}${err}")
endif()
rpl_manifest_state(manifest_after "${BUILD_DIR}")
if(NOT manifest_after STREQUAL manifest_before)
  message(SEND_ERROR "installing the component changed ${BUILD_DIR}/install_manifest.txt")
endif()

# The expected files, from the source tree.
set(doc share/doc/rplgen)
set(expected ${doc}/README.md ${doc}/language.md ${doc}/rplrun-compat.md ${doc}/copyright
  ${doc}/changelog.gz)
foreach(program IN LISTS PROGRAMS)
  list(APPEND expected bin/${program} share/man/man1/${program}.1.gz)
endforeach()
file(GLOB_RECURSE examples RELATIVE "${SOURCE_DIR}/examples"
  "${SOURCE_DIR}/examples/*.c48" "${SOURCE_DIR}/examples/*.out" "${SOURCE_DIR}/examples/*.txt")
foreach(file IN LISTS examples)
  list(APPEND expected ${doc}/examples/${file})
endforeach()
file(GLOB pictures RELATIVE "${BUILD_DIR}/docs/pictures" "${BUILD_DIR}/docs/pictures/*.png")
foreach(file IN LISTS pictures)
  list(APPEND expected ${doc}/pictures/${file})
endforeach()
file(GLOB_RECURSE editor_files RELATIVE "${SOURCE_DIR}/editors" "${SOURCE_DIR}/editors/*")
list(REMOVE_ITEM editor_files vscode/LICENSE)  # the package's copyright is the one
foreach(file IN LISTS editor_files)
  list(APPEND expected ${doc}/editors/${file})
  if(file MATCHES "^vim/(.*)")
    list(APPEND expected share/vim/vimfiles/${CMAKE_MATCH_1})
  endif()
endforeach()

file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${installed})
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "installed files differ from the expected ones\n"
    "missing: ${missing}\nunexpected: ${extra}")
endif()

# The README's uninstall command reads a manifest that lists every file.
file(STRINGS "${BUILD_DIR}/install_manifest_${COMPONENT}.txt" recorded)
list(TRANSFORM recorded REPLACE "^${prefix}/" "")
list(SORT recorded)
if(NOT recorded STREQUAL installed)
  message(SEND_ERROR "the install manifest lists\n${recorded}\nbut the files are\n${installed}")
endif()

check_installed_docs("" "${prefix}")

# Every installed example compiles with the installed compiler, as its .out says.
file(GLOB installed_examples "${prefix}/${doc}/examples/*.c48")
if(NOT installed_examples)
  message(FATAL_ERROR "no examples installed")
endif()
foreach(source IN LISTS installed_examples)
  get_filename_component(name "${source}" NAME_WE)
  get_filename_component(dir "${source}" DIRECTORY)
  if(EXISTS "${SOURCE_DIR}/examples/${name}.status")
    continue()  # an example of a failure; the golden tests check it
  endif()
  execute_process(COMMAND "${prefix}/bin/rplgen" "${name}.c48" WORKING_DIRECTORY "${dir}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  file(READ "${dir}/${name}.out" expected_out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL expected_out)
    message(SEND_ERROR "installed rplgen on ${name}.c48: status ${status}\n${err}${out}\n"
      "expected\n${expected_out}")
  endif()
endforeach()

# The installed runner runs an installed compiled example.
execute_process(COMMAND "${prefix}/bin/rplrun" factorial.out "20 FACTORIAL"
  WORKING_DIRECTORY "${prefix}/${doc}/examples"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out STREQUAL "1: 2.43290200818E18\n")
  message(SEND_ERROR "installed rplrun on factorial.out: status ${status}\n${err}${out}")
endif()
