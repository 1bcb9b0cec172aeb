# Compiler launcher, warnings and sanitizers shared by every target.

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

add_library(quillet_options INTERFACE)
target_compile_options(quillet_options INTERFACE -Wall -Wextra)

if(QUILLET_SANITIZE)
  target_compile_options(quillet_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quillet_options INTERFACE -fsanitize=address,undefined)
endif()

if(QUILLET_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QUILLET_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  target_compile_options(quillet_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(quillet_options INTERFACE -fsanitize=address,undefined)
endif()

# quillet_add_library(NAME SOURCES...): a layer's library with the project's options.
function(quillet_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC quillet_options)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# quillet_add_layer(NAME BELOW LAYER...): the layer in the calling folder, from
# every .cpp below it, linking the first of the layers below it (highest
# first) that exists, and so every layer under that one. A layer with no
# sources yet makes no target.
function(quillet_add_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "BELOW")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  quillet_add_library(${name} ${sources})
  foreach(below IN LISTS ARG_BELOW)
    if(TARGET ${below})
      target_link_libraries(${name} PUBLIC ${below})
      return()
    endif()
  endforeach()
endfunction()
