# Installation layout and the Debian package.
#
#   cmake --install build [--prefix DIR]
#   cpack --config build/CPackConfig.cmake -G DEB
#
# bin/rplgen itself is installed by src/CMakeLists.txt.
include(GNUInstallDirs)

install(FILES docs/rplgen.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md docs/language.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
  FILES_MATCHING PATTERN "*.c48" PATTERN "*.out")
install(DIRECTORY editors/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/editors)
# Where Debian's Vim looks by itself: *.c48 files are coloured without set-up.
install(DIRECTORY editors/vim/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vim/vimfiles)

set(RPLGEN_PACKAGE_MAINTAINER "rplgen developers <rplgen@invalid>"
  CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME rplgen)
set(CPACK_PACKAGE_VENDOR "rplgen developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler from a C-like language to HP48 User RPL")
set(CPACK_PACKAGE_DESCRIPTION
  "rplgen translates programs written in a small C-like language into User RPL\n\
for the HP48 calculators. The language has C's operators and its if, for,\n\
while, do and switch statements, plus functions with initialised locals,\n\
vector, list and complex literals and inline RPL. Each source file becomes\n\
one program in the HP48 ASCII transfer format, ready to send to the\n\
calculator. The package holds the compiler, its manual page, a guide to the\n\
language with examples, and syntax colouring for Vim and VS Code.")
set(CPACK_PACKAGE_CONTACT "${RPLGEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RPLGEN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries (libc, libstdc++), as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
