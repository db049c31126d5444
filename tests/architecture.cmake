# The folders' order of dependence, checked on the sources' include lines:
#  - model/, files/, display/, study/ and fit/ include no Qt header (they build and test without a
#    toolkit);
#  - a folder includes only from itself and from folders above it in LAYERS, never from one
#    that depends on it.
# Run as cmake -DROOT=<source folder> -P architecture.cmake.
cmake_minimum_required(VERSION 3.25)
set(LAYERS model files display plot study fit export gui batch verify python app)
set(NO_QT model files display study fit)
# Folders of one layer that do not use each other.
set(SIBLINGS batch verify python)

set(checked 0)
list(LENGTH LAYERS layer_count)
foreach(position RANGE 0 ${layer_count})
  if(position EQUAL layer_count)
    break()
  endif()
  list(GET LAYERS ${position} folder)
  file(GLOB_RECURSE sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(f IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(folder IN_LIST NO_QT AND line MATCHES "#[ \t]*include[ \t]*[<\"]Q")
        message(FATAL_ERROR "${f} includes Qt: ${line}")
      endif()
      if(NOT line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        continue()
      endif()
      set(used ${CMAKE_MATCH_1})
      list(FIND LAYERS ${used} used_position)
      if(used_position EQUAL -1 OR used STREQUAL folder)
        continue()
      endif()
      if(used_position GREATER position
         OR (used IN_LIST SIBLINGS AND folder IN_LIST SIBLINGS))
        message(FATAL_ERROR "${f} (${folder}/) includes from ${used}/, which depends on it: "
                            "${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
message(STATUS "${checked} files checked: no Qt below the plots, no include against the layers")
