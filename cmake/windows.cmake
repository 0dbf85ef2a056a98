# Windows builds (mingw-w64): corvella.exe, its resources and the folders
# shipped beside it, and the Win32 test executable run under Wine.
if(NOT CORVELLA_ASSETS_DIR)
  message(FATAL_ERROR "CORVELLA_ASSETS_DIR must name the native build's assets folder")
endif()

set(CORVELLA_DIST ${CMAKE_BINARY_DIR}/dist)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CORVELLA_DIST})
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(CORVELLA_WIN_LIBS comctl32 comdlg32 shell32 shlwapi ole32 oleaut32 uuid winmm msacm32 gdi32 user32 advapi32 msimg32 windowscodecs)

add_library(corvella_win STATIC ${CORVELLA_WIN_SOURCES})
target_link_libraries(corvella_win PUBLIC corvella_core ${CORVELLA_WIN_LIBS})

# The stand-alone projector that the converter carries: our engine in a
# window of its own, built before the main program's resources.
add_executable(corvella_projector WIN32 ${CMAKE_SOURCE_DIR}/projector/projector_main_win.cpp)
target_link_libraries(corvella_projector PRIVATE corvella_win)
target_link_options(corvella_projector PRIVATE -municode)
set_target_properties(corvella_projector PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/projector)
set(CORVELLA_PROJECTOR_EXE ${CMAKE_BINARY_DIR}/projector/corvella_projector.exe)

# Resources of the main program: the start-up movie and the carried projector.
configure_file(${CMAKE_SOURCE_DIR}/app/corvella.rc.in ${CMAKE_BINARY_DIR}/corvella.rc @ONLY)
add_library(corvella_resources OBJECT ${CMAKE_BINARY_DIR}/corvella.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/corvella.rc PROPERTIES
  OBJECT_DEPENDS "${CORVELLA_PROJECTOR_EXE};${CORVELLA_ASSETS_DIR}/corvella.swf")
add_dependencies(corvella_resources corvella_projector)

file(GLOB CORVELLA_APP_MAIN CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*_main_win.cpp)
add_executable(corvella WIN32 ${CORVELLA_APP_MAIN} $<TARGET_OBJECTS:corvella_resources>)
target_link_libraries(corvella PRIVATE corvella_win)
target_link_options(corvella PRIVATE -municode)

# Files and folders kept beside the executable.
add_custom_target(corvella_dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVELLA_DIST}/temp ${CORVELLA_DIST}/skins
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CORVELLA_ASSETS_DIR}/readme.txt ${CORVELLA_DIST}/readme.txt
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/copy-assets.sh ${CORVELLA_ASSETS_DIR} ${CORVELLA_DIST}
  VERBATIM)
# Building the program alone brings the folders beside it too.
add_dependencies(corvella corvella_dist)

# GoogleTest from the sources of Debian's googletest package, built with mingw.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(corvella_win_tests ${CORVELLA_WIN_TEST_SOURCES} $<TARGET_OBJECTS:corvella_resources>)
target_link_libraries(corvella_win_tests PRIVATE corvella_win gtest gtest_main)
set_target_properties(corvella_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# Benchmarks that need the platform: bench/*_main_win.cpp, console programs.
file(GLOB CORVELLA_WIN_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_main_win.cpp)
foreach(source ${CORVELLA_WIN_BENCHES})
  get_filename_component(name ${source} NAME_WE)
  string(REPLACE "_main_win" "" name ${name})
  add_executable(${name} ${source} $<TARGET_OBJECTS:corvella_resources>)
  target_link_libraries(${name} PRIVATE corvella_win)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
