# Natively, zlib, libpng and libjpeg are taken from Debian's static archives
# when they are there, and corvella-cli is linked wholly statically: a
# process that maps no shared libraries starts in a third of the time, which
# counts when a script runs the tool once per file.
if(WIN32)
  return()
endif()

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a ${CMAKE_FIND_LIBRARY_SUFFIXES})

set(CORVELLA_STATIC_CLI OFF)
if(NOT CORVELLA_SANITIZE AND NOT CORVELLA_FUZZ)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -static)
  check_cxx_source_compiles("#include <cstdio>\nint main() { std::puts(\"\"); }" CORVELLA_HAVE_STATIC_LIBC)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  set(CORVELLA_STATIC_CLI ${CORVELLA_HAVE_STATIC_LIBC})
endif()
