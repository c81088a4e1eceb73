# The libraries of a cross build, where the build machine's packages cannot be
# found as packages: CLI11, nlohmann-json and Boost (for Boost.Beast) are
# header-only and are taken from the build machine's include folder, through
# a folder that holds only them (the rest of /usr/include belongs to the
# build machine's C library); GoogleTest is built from the sources that
# Debian's googletest package keeps.
set(SCENARIOGEN_HOST_INCLUDE /usr/include CACHE PATH "Where the header-only libraries are")
set(header_view "${PROJECT_BINARY_DIR}/cross-include")
file(MAKE_DIRECTORY "${header_view}")
foreach(library CLI nlohmann boost)
  if(NOT EXISTS "${SCENARIOGEN_HOST_INCLUDE}/${library}")
    message(FATAL_ERROR "${SCENARIOGEN_HOST_INCLUDE}/${library} is missing (libcli11-dev, nlohmann-json3-dev, libboost-dev)")
  endif()
  if(NOT EXISTS "${header_view}/${library}")
    file(CREATE_LINK "${SCENARIOGEN_HOST_INCLUDE}/${library}" "${header_view}/${library}" SYMBOLIC)
  endif()
endforeach()

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${header_view}")
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${header_view}")
add_library(Boost::headers INTERFACE IMPORTED)
target_include_directories(Boost::headers SYSTEM INTERFACE "${header_view}")

set(SCENARIOGEN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, for a cross build's tests")
