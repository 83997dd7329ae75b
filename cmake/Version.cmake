# The product version as a generated header (TarvenholmVersion.h) for C++ and
# resource scripts; targets that need it link tarvenholm_version.
set(TARVENHOLM_VERSION_DIR ${CMAKE_BINARY_DIR}/generated/version)
configure_file(${CMAKE_SOURCE_DIR}/cmake/TarvenholmVersion.h.in ${TARVENHOLM_VERSION_DIR}/TarvenholmVersion.h @ONLY)
add_library(tarvenholm_version INTERFACE)
target_include_directories(tarvenholm_version INTERFACE ${TARVENHOLM_VERSION_DIR} ${CMAKE_SOURCE_DIR}/resources)
