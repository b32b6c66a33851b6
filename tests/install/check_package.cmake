# CPack builds a Debian package with sound metadata and contents, without
# touching the record of the user's own install; lintian finds nothing to
# report; the installed documentation holds together (installed_docs.cmake),
# and the compiler unpacked from the package works.
#
# cmake -DCPACK=... -DBUILD_DIR=... -DSOURCE_DIR=... -DVERSION=... -DWORK_DIR=...
#       -DPROGRAMS=... -DGZIP=... -P check_package.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../harness/require_tool.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/installed_docs.cmake)

require_tool(dpkg_deb dpkg-deb dpkg)
require_tool(dpkg dpkg dpkg)
require_tool(dpkg_shlibdeps dpkg-shlibdeps dpkg-dev)
require_tool(file_tool file file)
require_tool(lintian lintian lintian)
if(RPL_TOOL_MISSING)
  return()
endif()

function(run)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
rpl_manifest_state(manifest_before "${BUILD_DIR}")
run("${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}")
rpl_manifest_state(manifest_after "${BUILD_DIR}")
if(NOT manifest_after STREQUAL manifest_before)
  message(SEND_ERROR "cpack changed ${BUILD_DIR}/install_manifest.txt")
endif()
file(GLOB packages "${WORK_DIR}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${WORK_DIR}, found: ${packages}")
endif()
set(package "${packages}")

run("${dpkg}" --print-architecture)
string(STRIP "${out}" architecture)
get_filename_component(package_name "${package}" NAME)
if(NOT package_name STREQUAL "rplgen_${VERSION}_${architecture}.deb")
  message(SEND_ERROR "package file name ${package_name}")
endif()

# Metadata.
foreach(field Package Version Architecture Maintainer Section Priority Depends Description)
  run("${dpkg_deb}" --field "${package}" ${field})
  string(STRIP "${out}" ${field})
endforeach()
foreach(check
    "Package;rplgen" "Version;${VERSION}" "Architecture;${architecture}"
    "Section;devel" "Priority;optional")
  list(GET check 0 field)
  list(GET check 1 value)
  if(NOT "${${field}}" STREQUAL value)
    message(SEND_ERROR "${field} is \"${${field}}\", expected \"${value}\"")
  endif()
endforeach()
if(NOT Maintainer MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$")
  message(SEND_ERROR "Maintainer \"${Maintainer}\" is not of the form \"Name <address>\"")
endif()
if(NOT Description MATCHES "^[^\n]+\n .*rplgen")
  message(SEND_ERROR "Description lacks a summary line and a long description:\n${Description}")
endif()
# The binaries need the C and C++ run-time libraries, and rplrun libedit for its
# line editing and libpng (with zlib) for its pictures, found by dpkg-shlibdeps (they
# come with versions), and nothing else.
string(REPLACE ", " ";" depends "${Depends}")
set(libraries)
foreach(dependency IN LISTS depends)
  if(NOT dependency MATCHES "^(libc6|libgcc-s1|libstdc\\+\\+6|libedit2|libpng16-16|zlib1g) \\(>= [-0-9.]+\\)$")
    message(SEND_ERROR "unexpected dependency \"${dependency}\" in \"${Depends}\"")
  endif()
  string(REGEX REPLACE " .*" "" library "${dependency}")
  list(APPEND libraries ${library})
endforeach()
foreach(library libc6 libstdc++6 libedit2 libpng16-16)
  if(NOT library IN_LIST libraries)
    message(SEND_ERROR "Depends \"${Depends}\" lacks ${library}")
  endif()
endforeach()

# Contents: everything under /usr, the essential files among them.
run("${dpkg_deb}" --contents "${package}")
string(REPLACE "\n" ";" lines "${out}")
set(paths)
foreach(line IN LISTS lines)
  if(line MATCHES " (\\./[^ ]*)$")
    list(APPEND paths "${CMAKE_MATCH_1}")
  endif()
endforeach()
foreach(path IN LISTS paths)
  if(NOT path MATCHES "^\\./usr/")
    message(SEND_ERROR "the package installs ${path}, outside /usr")
  endif()
endforeach()
set(doc ./usr/share/doc/rplgen)
set(essential ${doc}/copyright ${doc}/changelog.gz ${doc}/README.md ${doc}/language.md
  ${doc}/examples/factorial.c48 ${doc}/editors/vscode/syntaxes/c48.tmLanguage.json
  ./usr/share/vim/vimfiles/syntax/c48.vim ./usr/share/vim/vimfiles/ftdetect/c48.vim)
foreach(program IN LISTS PROGRAMS)
  list(APPEND essential ./usr/bin/${program} ./usr/share/man/man1/${program}.1.gz)
endforeach()
foreach(path IN LISTS essential)
  if(NOT path IN_LIST paths)
    message(SEND_ERROR "the package lacks ${path}")
  endif()
endforeach()

# lintian, at its most demanding, with the information tags that tell of a
# build without hardening; strip leaves a .comment section that only Debian's
# own tools remove, and the spelling check of binaries reads words into
# machine code (rplrun's "wTH with").
execute_process(COMMAND "${lintian}" --pedantic --display-info
    --suppress-tags binary-has-unneeded-section,spelling-error-in-binary "${package}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR out MATCHES "(^|\n)[EWIPX]: ")
  message(SEND_ERROR "lintian (status ${status}):\n${out}${err}")
endif()

# The packaged programs, unpacked, work.
set(root "${WORK_DIR}/root")
run("${dpkg}" -x "${package}" "${root}")
check_installed_docs("${root}" /usr)
execute_process(COMMAND "${root}/usr/bin/rplgen" factorial.c48
  WORKING_DIRECTORY "${root}/usr/share/doc/rplgen/examples"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ "${SOURCE_DIR}/examples/factorial.out" expected)
if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out STREQUAL expected)
  message(SEND_ERROR "the packaged rplgen on factorial.c48: status ${status}\n${err}${out}")
endif()
execute_process(COMMAND "${root}/usr/bin/rplrun" factorial.out "20 FACTORIAL"
  WORKING_DIRECTORY "${root}/usr/share/doc/rplgen/examples"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out STREQUAL "1: 2.43290200818E18\n")
  message(SEND_ERROR "the packaged rplrun on factorial.out: status ${status}\n${err}${out}")
endif()
foreach(program IN LISTS PROGRAMS)
  run("${file_tool}" -b "${root}/usr/bin/${program}")
  if(NOT out MATCHES "ELF .*, stripped")
    message(SEND_ERROR "the packaged ${program} is not a stripped executable: ${out}")
  endif()
endforeach()
