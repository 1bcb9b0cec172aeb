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
