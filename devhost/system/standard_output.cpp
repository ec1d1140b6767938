#include "system/standard_output.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "system/stop_request.h"

namespace devhost {

namespace {

constexpr std::size_t kBuffered = 1 << 16;

std::string buffer;
std::string failure;

long long WriteSome(const char* data, std::size_t size) {
#if defined(_WIN32)
  return _write(1, data, static_cast<unsigned>(size > 0x40000000u ? 0x40000000u : size));
#else
  return write(STDOUT_FILENO, data, size);
#endif
}

}  // namespace

void FlushOut() {
  if (!failure.empty()) throw std::runtime_error(failure);
  std::string_view rest = buffer;
  while (!rest.empty()) {
    const long long n = WriteSome(rest.data(), rest.size());
    if (n < 0 && errno == EINTR) {
      ThrowIfStopped();
      continue;
    }
    if (n < 0) {
      failure = std::string("standard output: cannot write: ") + std::strerror(errno);
      buffer.clear();
      throw std::runtime_error(failure);
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  buffer.clear();
}

void PrintOut(std::string_view text) {
  if (!failure.empty()) throw std::runtime_error(failure);
  buffer += text;
  if (buffer.size() >= kBuffered) FlushOut();
}

}  // namespace devhost
