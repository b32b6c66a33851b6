# The guide's pictures: runs each console command of the guide that writes the
# display as a picture (a line "$ rplrun ... --screen=NAME.png ..."), as the
# guide's tests run it, in a scratch copy of the examples with rplrun and
# rplgen first on the PATH, and keeps NAME.png in OUTPUT_DIR, where the
# guide's "pictures/NAME.png" links find it once installed beside it.
#
#   cmake -DGUIDE=docs/language.md -DEXAMPLES=examples -DOUTPUT_DIR=DIR
#         -DBIN_DIRS=DIR1:DIR2 -P guide_pictures.cmake
set(work "${OUTPUT_DIR}/scratch")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
file(COPY "${EXAMPLES}" DESTINATION "${work}")
set(ENV{PATH} "${BIN_DIRS}:$ENV{PATH}")
file(STRINGS "${GUIDE}" lines)
set(made 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^\\$ (rplrun [^;]*--screen=([A-Za-z0-9_]+\\.png)[^;]*)$")
    set(command "${CMAKE_MATCH_1}")
    set(picture "${CMAKE_MATCH_2}")
    execute_process(COMMAND sh -c "${command}" WORKING_DIRECTORY "${work}"
      RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT status EQUAL 0 OR NOT EXISTS "${work}/${picture}")
      message(FATAL_ERROR "the guide's picture ${picture}: '${command}' failed (${status}):\n${err}")
    endif()
    file(RENAME "${work}/${picture}" "${OUTPUT_DIR}/${picture}")
    math(EXPR made "${made} + 1")
  endif()
endforeach()
file(REMOVE_RECURSE "${work}")
if(made EQUAL 0)
  message(FATAL_ERROR "no picture found in ${GUIDE}")
endif()
file(TOUCH "${OUTPUT_DIR}/pictures.stamp")
