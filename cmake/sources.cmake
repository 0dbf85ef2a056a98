# Source lists by convention, so that a new file needs no build edit:
#  - SUBSYSTEM/*.cpp            portable core (no <windows.h>)
#  - SUBSYSTEM/*_win.cpp        Win32 layer
#  - SUBSYSTEM/*_main_win.cpp   entry points of Windows programs (not in a library)
#  - cli/*.cpp                  corvella-cli
#  - tests/core/**.cpp          native unit tests (also built for Windows)
#  - tests/win/**.cpp           Win32 tests, run under Wine
set(CORVELLA_SUBSYSTEMS app playback playlist swf tools skin flash flash/avm1 flash/avm1/classes projector)

set(CORVELLA_CORE_SOURCES "")
set(CORVELLA_WIN_SOURCES "")
foreach(dir ${CORVELLA_SUBSYSTEMS})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  foreach(f ${files})
    if(f MATCHES "_main_win\\.cpp$")
      # entry points are listed by the program that owns them
    elseif(f MATCHES "_win\\.cpp$")
      list(APPEND CORVELLA_WIN_SOURCES ${f})
    else()
      list(APPEND CORVELLA_CORE_SOURCES ${f})
    endif()
  endforeach()
endforeach()

file(GLOB CORVELLA_CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
file(GLOB_RECURSE CORVELLA_CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
file(GLOB_RECURSE CORVELLA_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
