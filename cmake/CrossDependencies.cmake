# The Windows build's stand-ins for Debian's Linux-only development packages: GoogleTest compiled
# from Debian's googletest sources, and nlohmann-json's headers without the rest of /usr/include.
# find_package() finds them through its redirect folder, so the project's CMake files stay the same.
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING))
  return()
endif()

set(redirects ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR})

# ---- nlohmann-json: header-only, but /usr/include as a whole must not reach the cross compiler ----
find_path(VEYRANT_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(json_include ${CMAKE_BINARY_DIR}/_deps/nlohmann_json/include)
file(MAKE_DIRECTORY ${json_include})
file(CREATE_LINK ${VEYRANT_NLOHMANN_JSON_DIR}/nlohmann ${json_include}/nlohmann SYMBOLIC)
file(WRITE ${redirects}/nlohmann_json-config.cmake
     "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
     "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)\n"
     "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES\n"
     "    INTERFACE_INCLUDE_DIRECTORIES ${json_include})\n"
     "endif()\n")
file(WRITE ${redirects}/nlohmann_json-config-version.cmake
     "include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)\n")

# ---- GoogleTest and GoogleMock from source (they name their targets GTest::gtest etc.) ----
if(VEYRANT_BUILD_TESTS)
  set(VEYRANT_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "Debian's googletest sources")
  if(NOT EXISTS ${VEYRANT_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "The Windows test build compiles GoogleTest from Debian's googletest "
                        "package; ${VEYRANT_GOOGLETEST_SOURCE_DIR} has no CMakeLists.txt")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Not our code: its warnings never stop our build.
  block()
    set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
    add_subdirectory(${VEYRANT_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
  endblock()
  file(WRITE ${redirects}/gtest-config.cmake "set(GTest_FOUND TRUE)\n")
endif()
