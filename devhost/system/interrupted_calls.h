// System calls that a signal may interrupt (EINTR): made again, unless the signal asked the run to
// stop.
#pragma once

#include <string_view>

namespace devhost {

// After a call failed: true when a signal interrupted it and it is to be made again; throws
// Stopped when the signal asked the run to stop; false for any other failure, errno kept.
bool InterruptedToRetry();

// Writes all of data to fd, at most 1 GiB a write (Windows takes an unsigned count). 0 when done,
// else the errno of the write that failed.
int WriteWhole(int fd, std::string_view data);

}  // namespace devhost
