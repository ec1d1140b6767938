# Dear ImGui 1.86, the release the host is built with, as the static archive imgui_static: the
# plugin and the development host each carry a copy of their own, and the plugin's stays hidden
# inside it by its export list.
#
# Both are compiled here from Debian's imgui source package, which the configure step fetches into
# the build folder: Debian's Linux library is built with SSE, whose reciprocal square root gives
# different bits on different CPUs (anti-aliased edges land differently), and Debian ships no
# Windows library at all.

set(VEYRANT_IMGUI_VERSION 1.86)

function(veyrant_check_imgui_version header)
  file(STRINGS ${header} version_line REGEX "^#define IMGUI_VERSION +\"")
  if(NOT version_line MATCHES "\"1\\.86\"")
    message(FATAL_ERROR "Dear ImGui ${VEYRANT_IMGUI_VERSION} is required, ${header} has: "
                        "'${version_line}'")
  endif()
endfunction()

# ---- Debian's source package, fetched once per build folder ----
set(VEYRANT_IMGUI_SOURCE_DIR "" CACHE PATH
    "Dear ImGui ${VEYRANT_IMGUI_VERSION} sources (empty: fetch Debian's source package with apt-get)")
set(VEYRANT_IMGUI_FETCH_DIR ${CMAKE_BINARY_DIR}/_deps/imgui-debian)
set(VEYRANT_DEBIAN_MIRROR "" CACHE STRING
    "Debian archive for the imgui source package (empty: the one this machine's apt uses)")
set(VEYRANT_DEBIAN_SUITE bookworm CACHE STRING "Debian release for the imgui source package")

function(veyrant_debian_mirror out)
  if(VEYRANT_DEBIAN_MIRROR)
    set(${out} ${VEYRANT_DEBIAN_MIRROR} PARENT_SCOPE)
    return()
  endif()
  # The main archive's URI from the system's deb lines, one-line or deb822 form.
  file(GLOB lists /etc/apt/sources.list /etc/apt/sources.list.d/*.list
       /etc/apt/sources.list.d/*.sources)
  foreach(list IN LISTS lists)
    file(STRINGS ${list} lines REGEX "(^deb |^URIs:).*/debian/?( |$)")
    foreach(line IN LISTS lines)
      if(line MATCHES "(https?://[^ ]*/debian)/?( |$)")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${out} http://deb.debian.org/debian PARENT_SCOPE)
endfunction()

function(veyrant_fetch_imgui_source)
  find_program(APT_GET apt-get)
  if(NOT APT_GET)
    message(FATAL_ERROR "Fetching Dear ImGui needs apt-get; elsewhere set VEYRANT_IMGUI_SOURCE_DIR "
                        "to the sources of Dear ImGui ${VEYRANT_IMGUI_VERSION}")
  endif()
  veyrant_debian_mirror(mirror)
  set(apt_dir ${VEYRANT_IMGUI_FETCH_DIR}/apt)
  file(REMOVE_RECURSE ${apt_dir})
  file(MAKE_DIRECTORY ${apt_dir}/sources.list.d ${apt_dir}/lists/partial ${apt_dir}/cache)
  file(WRITE ${apt_dir}/sources.list.d/debian-source.sources
       "Types: deb-src\nURIs: ${mirror}\nSuites: ${VEYRANT_DEBIAN_SUITE}\nComponents: main\n"
       "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n")
  # Everything apt writes stays in apt_dir: the system's sources, lists and caches are untouched.
  execute_process(COMMAND id -un OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(apt_options -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=${apt_dir}/sources.list.d
                  -o Dir::State::Lists=${apt_dir}/lists -o Dir::Cache=${apt_dir}/cache
                  -o APT::Sandbox::User=${user})
  message(STATUS "Fetching Debian's imgui source package from ${mirror} ${VEYRANT_DEBIAN_SUITE}")
  execute_process(COMMAND ${APT_GET} ${apt_options} update RESULT_VARIABLE failed
                  OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "apt-get update for the imgui source package failed:\n${log}")
  endif()
  execute_process(COMMAND ${APT_GET} ${apt_options} source --download-only imgui
                  WORKING_DIRECTORY ${VEYRANT_IMGUI_FETCH_DIR} RESULT_VARIABLE failed
                  OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "apt-get source imgui failed:\n${log}")
  endif()
  file(REMOVE_RECURSE ${apt_dir})

  file(GLOB orig ${VEYRANT_IMGUI_FETCH_DIR}/imgui_${VEYRANT_IMGUI_VERSION}+ds.orig.tar.*)
  if(NOT orig)
    file(GLOB got ${VEYRANT_IMGUI_FETCH_DIR}/imgui_*)
    message(FATAL_ERROR "Expected Debian's imgui ${VEYRANT_IMGUI_VERSION}+ds source package in "
                        "${mirror} ${VEYRANT_DEBIAN_SUITE}, got: ${got}")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${orig} DESTINATION ${VEYRANT_IMGUI_FETCH_DIR})
endfunction()

if(VEYRANT_IMGUI_SOURCE_DIR)
  set(imgui_dir ${VEYRANT_IMGUI_SOURCE_DIR})
else()
  set(imgui_dir ${VEYRANT_IMGUI_FETCH_DIR}/imgui-${VEYRANT_IMGUI_VERSION})
  if(NOT EXISTS ${imgui_dir}/imgui.h)
    veyrant_fetch_imgui_source()
  endif()
endif()
veyrant_check_imgui_version(${imgui_dir}/imgui.h)

set(VEYRANT_IMGUI_SOURCES imgui.cpp imgui_draw.cpp imgui_widgets.cpp imgui_tables.cpp)
list(TRANSFORM VEYRANT_IMGUI_SOURCES PREPEND ${imgui_dir}/)
foreach(source IN LISTS VEYRANT_IMGUI_SOURCES)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "Debian's imgui source package lacks ${source}")
  endif()
endforeach()

# veyrant_imgui_library(name sources...): a static library of Dear ImGui's sources.
function(veyrant_imgui_library name)
  add_library(${name} STATIC ${ARGN})
  # Debian builds its libimgui with GCC 12's default C++17; C++20 only adds deprecation warnings.
  # Not our code: its warnings never stop our build.
  set_target_properties(${name} PROPERTIES CXX_STANDARD 17 COMPILE_WARNING_AS_ERROR OFF)
  # Every product and sum rounded on its own, whatever the target CPU.
  target_compile_options(${name} PRIVATE -ffp-contract=off)
endfunction()

veyrant_imgui_library(imgui_static ${VEYRANT_IMGUI_SOURCES})
target_include_directories(imgui_static SYSTEM PUBLIC ${imgui_dir})
# No SSE reciprocal square root: ImRsqrt becomes 1 / sqrtf, exact on every x86-64 CPU. The types
# and the library's interface are the same either way. Public, so that the inline helpers of
# imgui_internal.h agree everywhere with the library.
target_compile_definitions(imgui_static PUBLIC IMGUI_DISABLE_SSE)

if(WIN32)
  # The default clipboard functions call the Windows clipboard.
  target_link_libraries(imgui_static PUBLIC user32)
  return()
endif()

# As Debian configures it: stb's font rasteriser and rectangle packer come from libstb.
find_library(STB_STATIC_LIBRARY NAMES libstb.a REQUIRED)
target_compile_definitions(imgui_static PRIVATE
  IMGUI_DISABLE_STB_RECT_PACK_IMPLEMENTATION "IMGUI_STB_RECT_PACK_FILENAME=<stb/stb_rect_pack.h>"
  IMGUI_DISABLE_STB_TRUETYPE_IMPLEMENTATION "IMGUI_STB_TRUETYPE_FILENAME=<stb/stb_truetype.h>")
target_link_libraries(imgui_static PUBLIC ${STB_STATIC_LIBRARY} m)

# The development host builds the backends from the same sources.
set(VEYRANT_IMGUI_DIR ${imgui_dir} CACHE INTERNAL "Dear ImGui sources")
