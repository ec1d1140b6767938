# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads: the win32 thread variant
# of GCC 12 has no std::mutex). Programs built here run under Wine through scripts/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VEYRANT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEYRANT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEYRANT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VEYRANT_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${VEYRANT_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VEYRANT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: every module imports system DLLs only, never libstdc++/libgcc/winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# The Wine prefix lives in the build folder and is reused by every run.
get_filename_component(VEYRANT_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VEYRANT_WINE_RUN} --prefix ${CMAKE_BINARY_DIR}/wineprefix)
