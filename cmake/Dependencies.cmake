# Third-party libraries: zlib from Debian's MinGW package, hidapi and minizip
# from Debian's source packages built by scripts/setup.sh, GoogleTest from
# Debian's /usr/src/googletest built here with our toolchain.
if(NOT EXISTS ${TARVENHOLM_DEPS_DIR}/lib/libminizip.a)
    message(FATAL_ERROR "Third-party libraries missing in ${TARVENHOLM_DEPS_DIR}: run scripts/setup.sh")
endif()

find_package(ZLIB REQUIRED)

add_library(hidapi SHARED IMPORTED GLOBAL)
set_target_properties(hidapi PROPERTIES
    IMPORTED_IMPLIB ${TARVENHOLM_DEPS_DIR}/lib/libhidapi.dll.a
    IMPORTED_LOCATION ${TARVENHOLM_DEPS_DIR}/bin/libhidapi.dll
    INTERFACE_INCLUDE_DIRECTORIES ${TARVENHOLM_DEPS_DIR}/include/hidapi)
# bin/ is the simulated machine's program folder, where the lighting
# controller's stand-in libhidapi.dll lives (sim/lighting-controller); the
# real library waits in redist/ for packaging on a machine with the device.
file(COPY ${TARVENHOLM_DEPS_DIR}/bin/libhidapi.dll DESTINATION ${CMAKE_BINARY_DIR}/redist)

add_library(minizip STATIC IMPORTED GLOBAL)
set_target_properties(minizip PROPERTIES
    IMPORTED_LOCATION ${TARVENHOLM_DEPS_DIR}/lib/libminizip.a
    INTERFACE_INCLUDE_DIRECTORIES ${TARVENHOLM_DEPS_DIR}/include/minizip
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
