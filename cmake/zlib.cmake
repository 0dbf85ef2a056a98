# zlib: Debian's zlib1g-dev natively, libz-mingw-w64-dev for the Windows builds.
add_library(corvella_zlib INTERFACE)
if(WIN32)
  target_link_libraries(corvella_zlib INTERFACE /usr/${CORVELLA_MINGW_PREFIX}/lib/libz.a)
else()
  find_package(ZLIB REQUIRED)
  target_link_libraries(corvella_zlib INTERFACE ZLIB::ZLIB)
endif()
