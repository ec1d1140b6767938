// Counts heap allocations made anywhere in the process, the loaded plugin module included: the
// benchmark program replaces the global allocation functions, and the module's calls bind to them.
#pragma once

#include <cstdint>

namespace bench {
std::int64_t AllocationCount();
}  // namespace bench
