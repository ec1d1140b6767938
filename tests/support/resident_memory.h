// The process's resident memory, for the long-running tests to report (never to assert on: the
// sanitizers hold freed memory back in quarantine).
#pragma once

#include <unistd.h>

#include <fstream>

namespace veyrant_test {

// The resident pages from /proc/self/statm in KiB, or 0 where there are none.
inline long ResidentKib() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
}

}  // namespace veyrant_test
