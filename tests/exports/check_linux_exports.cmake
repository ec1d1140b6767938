# Fails unless the module's dynamic symbol table defines exactly the committed names: the host's
# entry points and the plugin base class, and in particular no Dear ImGui symbol.
#   cmake -DNM=nm -DMODULE=Veyrant.so -DEXPECTED=file -P this
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${MODULE} OUTPUT_VARIABLE dump
                RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
  message(FATAL_ERROR "${NM} -D ${MODULE} failed: ${errors}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${dump}")
set(actual "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE " .*" "" symbol "${line}")
  list(APPEND actual ${symbol})
endforeach()
file(STRINGS ${EXPECTED} expected REGEX "^[^#]")
list(SORT actual)
list(SORT expected)
if(NOT actual STREQUAL expected)
  set(stray ${actual})
  list(REMOVE_ITEM stray ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${actual})
  message(FATAL_ERROR "${MODULE} exports differ from ${EXPECTED}\n  not expected: ${stray}\n"
                      "  missing: ${missing}")
endif()
list(LENGTH actual count)
message(STATUS "${MODULE}: ${count} exports, as expected")
