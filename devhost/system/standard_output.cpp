#include "system/standard_output.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "system/interrupted_calls.h"

namespace devhost {

namespace {

constexpr std::size_t kBuffered = 1 << 16;

std::string buffer;
std::string failure;

}  // namespace

void FlushOut() {
  if (!failure.empty()) throw std::runtime_error(failure);
  const int error = WriteWhole(1, buffer);
  buffer.clear();
  if (error != 0) {
    failure = std::string("standard output: cannot write: ") + std::strerror(error);
    throw std::runtime_error(failure);
  }
}

void PrintOut(std::string_view text) {
  if (!failure.empty()) throw std::runtime_error(failure);
  buffer += text;
  if (buffer.size() >= kBuffered) FlushOut();
}

}  // namespace devhost
