# Dear ImGui 1.86 from Debian's libimgui-dev. The plugin and the development host each link their
# own copy; the plugin's is hidden inside its module by its export list.
find_path(IMGUI_INCLUDE_DIR imgui.h PATH_SUFFIXES imgui REQUIRED)
find_library(IMGUI_STATIC_LIBRARY NAMES libimgui.a REQUIRED)
find_library(STB_STATIC_LIBRARY NAMES libstb.a REQUIRED)

file(STRINGS ${IMGUI_INCLUDE_DIR}/imgui.h IMGUI_VERSION_LINE REGEX "^#define IMGUI_VERSION +\"")
if(NOT IMGUI_VERSION_LINE MATCHES "\"1\\.86\"")
  message(FATAL_ERROR "Dear ImGui 1.86 is required, found: ${IMGUI_VERSION_LINE}")
endif()

add_library(imgui_static STATIC IMPORTED GLOBAL)
set_target_properties(imgui_static PROPERTIES IMPORTED_LOCATION ${IMGUI_STATIC_LIBRARY}
                                              INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${IMGUI_INCLUDE_DIR}
                                              INTERFACE_INCLUDE_DIRECTORIES ${IMGUI_INCLUDE_DIR})
# libimgui.a leaves stb's font and rectangle-packing symbols to libstb.
target_link_libraries(imgui_static INTERFACE ${STB_STATIC_LIBRARY} m)
