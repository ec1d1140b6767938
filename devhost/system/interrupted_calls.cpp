#include "system/interrupted_calls.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>

#include "system/stop_request.h"

namespace devhost {

bool InterruptedToRetry() {
  if (errno != EINTR) return false;
  ThrowIfStopped();
  return true;
}

int WriteWhole(int fd, std::string_view data) {
  constexpr std::size_t kMostAWrite = std::size_t{1} << 30;
  while (!data.empty()) {
    const std::size_t size = data.size() < kMostAWrite ? data.size() : kMostAWrite;
#if defined(_WIN32)
    const long long n = _write(fd, data.data(), static_cast<unsigned>(size));
#else
    const long long n = write(fd, data.data(), size);
#endif
    if (n < 0 && InterruptedToRetry()) continue;
    if (n < 0) return errno;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace devhost
