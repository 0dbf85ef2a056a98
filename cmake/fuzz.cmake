# libFuzzer harnesses: every fuzz/*_fuzz.cpp is one executable.
file(GLOB harnesses CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(h ${harnesses})
  get_filename_component(name ${h} NAME_WE)
  add_executable(${name} ${h})
  target_link_libraries(${name} PRIVATE corvella_core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
