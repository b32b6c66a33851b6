# Installation layout and the Debian package, for every program in
# RPL_PROGRAMS.
#
#   cmake --install build [--prefix DIR]
#   cpack --config build/CPackConfig.cmake -B DIR
#
# bin/NAME itself is installed by src/NAME/CMakeLists.txt. Every rule installs
# into the component named by CMAKE_INSTALL_DEFAULT_COMPONENT_NAME (see
# CMakeLists.txt), which cpack and the tests install alone.
include(GNUInstallDirs)
# The documents go to the package's own directory, not one named after the project.
if(CMAKE_INSTALL_DOCDIR STREQUAL "${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME}")
  set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/${RPL_PACKAGE_NAME}")
  GNUInstallDirs_get_absolute_install_dir(CMAKE_INSTALL_FULL_DOCDIR CMAKE_INSTALL_DOCDIR DOCDIR)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
find_program(GZIP gzip REQUIRED)

set(RPL_VERSION ${PROJECT_VERSION})
set(docs ${PROJECT_BINARY_DIR}/docs)

# Manual pages: the build's copies, then the install step.
set(man_sources)
foreach(program IN LISTS RPL_PROGRAMS)
  set(source ${PROJECT_SOURCE_DIR}/docs/${program}.1.in)
  rpl_write_man_page(${source} ${docs}/${program}.1 ${CMAKE_INSTALL_FULL_DOCDIR})
  list(APPEND man_sources ${source})
endforeach()
install(CODE "
  set(RPL_VERSION [[${RPL_VERSION}]])
  set(RPL_BUG_ADDRESS [[${RPL_BUG_ADDRESS}]])
  include([[${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake]])
  rpl_install_man_pages([[${docs}/installed]] [[${CMAKE_INSTALL_MANDIR}]]
    [[${CMAKE_INSTALL_DOCDIR}]] [[${GZIP}]] [[${man_sources}]])")

# The package's maintainer is a setting, for whoever builds and ships it.
rpl_setting(PACKAGE_MAINTAINER STRING "rplgen developers <${RPL_BUG_ADDRESS}>"
  "Maintainer named in the Debian package, as \"Name <address>\"")

# The documentation directory: a README for users (not the developers' one),
# the licence as "copyright" and CHANGELOG.md as "changelog.gz", in the format
# that Debian's tools read, the guide, rplrun's list of behaviour not yet
# checked on a calculator, the examples and the editor support.
configure_file(docs/README.installed.md.in ${docs}/README.md @ONLY)
# The change log names the maintainer: rewritten when the setting changes.
file(CONFIGURE OUTPUT ${docs}/maintainer CONTENT "${RPL_PACKAGE_MAINTAINER}\n")
add_custom_command(OUTPUT ${docs}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${PROJECT_SOURCE_DIR}/CHANGELOG.md
    -DOUTPUT=${docs}/changelog -DPACKAGE=${RPL_PACKAGE_NAME}
    -DMAINTAINER=${RPL_PACKAGE_MAINTAINER}
    -P ${CMAKE_CURRENT_LIST_DIR}/debian_changelog.cmake
  COMMAND ${GZIP} -9nf ${docs}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_CURRENT_LIST_DIR}/debian_changelog.cmake
    ${docs}/maintainer
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${docs}/changelog.gz)

install(FILES ${docs}/README.md docs/language.md docs/rplrun-compat.md ${docs}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# The guide's pictures of the display, made by the build with the programs just built.
file(GLOB example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.c48)
add_custom_command(OUTPUT ${docs}/pictures/pictures.stamp
  COMMAND ${CMAKE_COMMAND} -DGUIDE=${PROJECT_SOURCE_DIR}/docs/language.md
    -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples -DOUTPUT_DIR=${docs}/pictures
    -DBIN_DIRS=$<TARGET_FILE_DIR:rplrun>:$<TARGET_FILE_DIR:rplgen>
    -P ${CMAKE_CURRENT_LIST_DIR}/guide_pictures.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/language.md ${CMAKE_CURRENT_LIST_DIR}/guide_pictures.cmake
    rplrun rplgen ${example_files}
  VERBATIM)
add_custom_target(guide_pictures ALL DEPENDS ${docs}/pictures/pictures.stamp)
install(DIRECTORY ${docs}/pictures/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/pictures
  FILES_MATCHING PATTERN "*.png")
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
  FILES_MATCHING PATTERN "*.c48" PATTERN "*.out" PATTERN "*.txt")
# The extension's own copy of the licence stays out: "copyright" is the one.
install(DIRECTORY editors/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/editors
  PATTERN vscode/LICENSE EXCLUDE)
# Where Debian's Vim looks by itself: *.c48 files are coloured without set-up.
install(DIRECTORY editors/vim/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vim/vimfiles)

# The package.
set(CPACK_PACKAGE_NAME ${RPL_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "rplgen developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "compiler from a C-like language to HP48 User RPL, and an RPL runner")
set(CPACK_PACKAGE_DESCRIPTION
  "rplgen translates programs written in a small C-like language into User RPL\n\
for the HP48 calculators. The language has C's operators and its if, for,\n\
while, do and switch statements, plus functions with initialised locals,\n\
vector, list and complex literals and inline RPL. Each source file becomes\n\
one program in the HP48 ASCII transfer format, ready to send to the\n\
calculator. rplrun runs such programs, or any User RPL, on a PC as an HP48G\n\
would, with the calculator's 12-digit decimal arithmetic, display and error\n\
messages, so that what a program computes can be seen without a calculator.\n\
The package holds both programs, their manual pages, a guide to the\n\
language with examples, and syntax colouring for Vim and VS Code.")
set(CPACK_PACKAGE_CONTACT "${RPL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install the one component, so that build/install_manifest.txt, the record of
# the user's own install, is left alone.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${PROJECT_BINARY_DIR};${PROJECT_NAME};${CMAKE_INSTALL_DEFAULT_COMPONENT_NAME};/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RPL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries (libc, libstdc++), as dpkg-shlibdeps finds them, and those
# rplrun opens only when it needs them, which dpkg-shlibdeps cannot see: libpng, and
# libedit from the version that has all the functions rplrun calls (its symbols file).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libpng16-16 (>= ${PNG_VERSION_STRING}), libedit2 (>= 2.11-20080614-0)")
include(CPack)
