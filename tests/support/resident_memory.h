// The process's resident memory, for the long-running tests to report (never to assert on: the
// sanitizers hold freed memory back in quarantine).
#pragma once

#include <fstream>
#include <string>

namespace veyrant_test {

// VmRSS from /proc/self/status in KiB, or 0 where there is none.
inline long ResidentKib() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

}  // namespace veyrant_test
