# What `cmake --install` puts in place for C programs: libhbd.h, the C interface's static library with the
# layers beneath it, a pkg-config file and a CMake package with the imported target libhbd::libhbd.
include(CMakePackageConfigHelpers)

install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/include/libhbd.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS libhbd hbd zunto hbd_platform EXPORT libhbd-targets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

set(HBD_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/libhbd)
install(EXPORT libhbd-targets NAMESPACE libhbd:: DESTINATION ${HBD_CMAKE_PACKAGE_DIR})
configure_package_config_file(libhbd-config.cmake.in libhbd-config.cmake INSTALL_DESTINATION ${HBD_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(libhbd-config-version.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/libhbd-config.cmake ${CMAKE_CURRENT_BINARY_DIR}/libhbd-config-version.cmake
        DESTINATION ${HBD_CMAKE_PACKAGE_DIR})

# A C program links with the C compiler, so users also need the C++ runtime the library was built with.
set(HBD_CXX_RUNTIME ${CMAKE_CXX_IMPLICIT_LINK_LIBRARIES})
list(REMOVE_ITEM HBD_CXX_RUNTIME ${CMAKE_C_IMPLICIT_LINK_LIBRARIES})
target_link_libraries(libhbd INTERFACE "$<INSTALL_INTERFACE:${HBD_CXX_RUNTIME}>")

# The library is only static, so everything it needs goes into Libs and Requires: a plain
# `pkg-config --libs libhbd` links.
list(TRANSFORM HBD_CXX_RUNTIME PREPEND " -l" OUTPUT_VARIABLE HBD_PC_RUNTIME)
list(JOIN HBD_PC_RUNTIME "" HBD_PC_RUNTIME)
# The file finds its folders from where it lies, so it stays right for any install prefix.
file(RELATIVE_PATH HBD_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_FULL_INCLUDEDIR})
configure_file(libhbd.pc.in libhbd.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/libhbd.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
