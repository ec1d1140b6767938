# Warnings as errors for our own targets only; third-party headers come in as system includes.
function(veyrant_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
                                           -Werror)
endfunction()
