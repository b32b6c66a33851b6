# Includes point down the runner's layers: numbers/ <- objects/ <- machine/ <-
# commands/ <- the program (the files of src/rplrun itself). A file includes headers
# of its own layer and of the layers below, each by its folder ("objects/object.h");
# the compiler's headers ("rplgen/...") only from the program.
#
#   cmake -DSOURCE_DIR=<src/rplrun> -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)

set(layers numbers objects machine commands program)
set(faults "")

function(layer_of path out)
  string(REGEX MATCH "^([a-z]+)/" folder "${path}")
  if(folder AND CMAKE_MATCH_1 IN_LIST layers)
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(path MATCHES "^rplgen/")
    set(${out} rplgen PARENT_SCOPE)
  elseif(path MATCHES "^support/")
    set(${out} support PARENT_SCOPE)
  else()
    set(${out} program PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
if(NOT sources)
  message(FATAL_ERROR "no sources under ${SOURCE_DIR}")
endif()
foreach(source IN LISTS sources)
  layer_of(${source} own)
  list(FIND layers ${own} own_rank)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" header "${line}")
    layer_of(${header} theirs)
    if(theirs STREQUAL "support")
      continue()
    elseif(theirs STREQUAL "rplgen")
      if(NOT own STREQUAL "program")
        string(APPEND faults "  ${source}: ${header} (the compiler, above every layer)\n")
      endif()
      continue()
    endif()
    list(FIND layers ${theirs} their_rank)
    if(their_rank GREATER own_rank)
      string(APPEND faults "  ${source} (${own}): ${header} (${theirs}, a layer above)\n")
    elseif(NOT EXISTS ${SOURCE_DIR}/${header})
      string(APPEND faults "  ${source}: ${header} is not under its layer's folder\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "includes that point up the layers:\n${faults}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files, every include pointing down")
