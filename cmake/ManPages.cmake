# Manual pages. docs/NAME.1.in is the page of the program NAME, with three
# values to fill in: @RPL_VERSION@ (the footer), @RPL_DOCDIR@ (where the guide
# and the examples are installed) and @RPL_BUG_ADDRESS@.
#
# The build writes build/docs/NAME.1 for the configured prefix, to read with
# "man -l" and to lint. Installing writes each page again for the prefix that
# it installs to, so that "cmake --install --prefix DIR" and the package (whose
# prefix is /usr) both point at files that exist, and compresses it with
# "gzip -9n" (no file name, no time stamp), as Debian wants.
#
# This file is read at configure time and again by the install script.

# rpl_write_man_page(<source> <output> <docdir>)
# RPL_VERSION and RPL_BUG_ADDRESS must be set.
function(rpl_write_man_page source output docdir)
  set(RPL_DOCDIR "${docdir}")
  configure_file("${source}" "${output}" @ONLY)
endfunction()

# rpl_install_man_pages(<work dir> <mandir> <docdir> <gzip> <source>...)
# At install time: <mandir> and <docdir> as GNUInstallDirs gives them, relative
# to the install prefix unless absolute.
function(rpl_install_man_pages work_dir mandir docdir gzip)
  foreach(dir mandir docdir)
    if(NOT IS_ABSOLUTE "${${dir}}")
      set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
  endforeach()
  # Installs into different places may run at once (the tests do).
  string(SHA1 key "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(work_dir "${work_dir}/${key}")
  foreach(source IN LISTS ARGN)
    get_filename_component(page "${source}" NAME_WLE)
    string(REGEX MATCH "[0-9]+$" section "${page}")
    rpl_write_man_page("${source}" "${work_dir}/${page}" "${docdir}")
    execute_process(COMMAND "${gzip}" -9nf "${work_dir}/${page}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip of ${work_dir}/${page} failed (${status})")
    endif()
    file(INSTALL DESTINATION "${mandir}/man${section}" TYPE FILE FILES "${work_dir}/${page}.gz")
  endforeach()
  # file(INSTALL) records the files here; the install script writes the
  # manifest from its own scope.
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
