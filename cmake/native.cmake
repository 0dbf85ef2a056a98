# Native Linux build: unit tests of the portable core, the generated assets,
# and the registration of the Wine test executable in the same ctest run.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(corvella_core_tests ${CORVELLA_CORE_TEST_SOURCES})
target_link_libraries(corvella_core_tests PRIVATE corvella_core GTest::gtest GTest::gtest_main)
target_compile_definitions(corvella_core_tests PRIVATE
  CORVELLA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  CORVELLA_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
gtest_discover_tests(corvella_core_tests DISCOVERY_TIMEOUT 60)

add_subdirectory(assets)
if(EXISTS ${CMAKE_SOURCE_DIR}/skins/CMakeLists.txt)
  add_subdirectory(skins)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()

if(CORVELLA_WIN_TEST_EXE)
  add_test(NAME wine.all
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-test.sh ${CORVELLA_WIN_TEST_EXE})
  set_tests_properties(wine.all PROPERTIES TIMEOUT 900)
endif()

# The sanitizer build of the unit tests, built by scripts/build.sh.
if(CORVELLA_ASAN_TEST_EXE)
  add_test(NAME sanitizers.core_tests COMMAND ${CORVELLA_ASAN_TEST_EXE})
  set_tests_properties(sanitizers.core_tests PROPERTIES TIMEOUT 900
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

# A short run of each fuzz harness, seeded from fuzz/seeds/NAME and the
# shared corpora (scripts/fuzz.sh says which).
if(CORVELLA_FUZZ_DIR)
  file(GLOB harnesses CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(h ${harnesses})
    get_filename_component(name ${h} NAME_WE)
    add_test(NAME fuzz.${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz.sh ${CORVELLA_FUZZ_DIR} ${name})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600)
  endforeach()
endif()
