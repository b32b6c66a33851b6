# Checks of an installed tree that the install and package tests share.
#
# check_installed_docs(<root> <prefix>)
#   The tree was installed for <prefix> and lies under <root> ("" for an
#   install into the prefix itself, the unpacked package for the package).
#   Every program's manual page is compressed, has the version in its footer
#   and names only paths that exist; every link of the README for users leads
#   to an installed file; the change log is compressed and its latest entry is
#   this version. PROGRAMS, VERSION and GZIP must be set.
function(check_installed_docs root prefix)
  set(doc "${root}${prefix}/share/doc/rplgen")
  foreach(program IN LISTS PROGRAMS)
    set(page "${root}${prefix}/share/man/man1/${program}.1.gz")
    execute_process(COMMAND "${GZIP}" -dc "${page}"
      OUTPUT_VARIABLE text ERROR_VARIABLE err RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(SEND_ERROR "${page} does not decompress: ${err}")
      continue()
    endif()
    if(NOT text MATCHES "\n\\.Os ${program} ${VERSION}\n")
      message(SEND_ERROR "${page} lacks the footer \".Os ${program} ${VERSION}\"")
    endif()
    string(REGEX MATCHALL "\n\\.Pa /[^ \n]*" paths "${text}")
    if(NOT paths)
      message(SEND_ERROR "${page} names no installed file")
    endif()
    foreach(path IN LISTS paths)
      string(REGEX REPLACE "^\n\\.Pa " "" path "${path}")
      if(NOT path MATCHES "^${prefix}/" OR NOT EXISTS "${root}${path}")
        message(SEND_ERROR "${page} names ${path}, which is not installed under ${prefix}")
      endif()
    endforeach()
  endforeach()

  file(READ "${doc}/README.md" readme)
  string(REGEX MATCHALL "\\]\\([^)]+\\)" links "${readme}")
  if(NOT links)
    message(SEND_ERROR "${doc}/README.md has no links")
  endif()
  string(REPLACE "]" "" links "${links}")  # a list's "]" would hide the ";" after it
  foreach(link IN LISTS links)
    string(REGEX REPLACE "^\\((.*)\\)$" "\\1" target "${link}")
    if(NOT target MATCHES "^[a-z]+:" AND NOT EXISTS "${doc}/${target}")
      message(SEND_ERROR "${doc}/README.md links to ${target}, which is not installed")
    endif()
  endforeach()

  execute_process(COMMAND "${GZIP}" -dc "${doc}/changelog.gz"
    OUTPUT_VARIABLE changelog RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT changelog MATCHES "^rplgen \\(${VERSION}\\) ")
    message(SEND_ERROR "changelog.gz does not begin with version ${VERSION} (status ${status}):\n"
      "${changelog}")
  endif()
endfunction()

# rpl_manifest_state(<result> <build dir>)
#   The state of build/install_manifest.txt, the record of the user's own
#   install, which the tests' installs must leave as it was.
function(rpl_manifest_state result build_dir)
  set(manifest "${build_dir}/install_manifest.txt")
  set(state "absent")
  if(EXISTS "${manifest}")
    file(TIMESTAMP "${manifest}" time "%s")
    file(SHA1 "${manifest}" sum)
    set(state "${time} ${sum}")
  endif()
  set(${result} "${state}" PARENT_SCOPE)
endfunction()
