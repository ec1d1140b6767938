# The warnings we hold our own targets to; third-party headers come in as system includes.
# Whether they stop the build is CMake's COMPILE_WARNING_AS_ERROR: our presets and CI set
# CMAKE_COMPILE_WARNING_AS_ERROR, a plain configure leaves them warnings, and
# --compile-no-warning-as-error turns them back into warnings for one build.
function(veyrant_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast)
endfunction()
