// Where an exception was thrown, on Linux: every throw in the process passes the program's own
// __cxa_throw first (the program exports it, so plugins bind to it too), which keeps the stack of
// the last throw inside a guarded call, so that an exception escaping a plugin's call is placed
// where it was thrown, not where the host caught it.
#include <dlfcn.h>
#include <execinfo.h>

#include <cstdint>
#include <vector>

#include "system/fault_guard_parts.h"

// Sanitizer builds have it: a throw leaves frames, which AddressSanitizer must be told of.
extern "C" void __asan_handle_no_return() __attribute__((weak));

namespace devhost {

namespace {

struct Thrown {
  std::uint64_t call = 0;  // the outermost guarded call it was thrown in
  int count = 0;
  std::uintptr_t stack[kMaxFrames] = {};
} thrown;

}  // namespace

std::vector<std::uintptr_t> ThrownStack() {
  if (thrown.call != GuardedCallNumber()) return {};
  return {thrown.stack, thrown.stack + thrown.count};
}

}  // namespace devhost

// The type is a std::type_info, declared as the compiler itself declares the function.
extern "C" [[noreturn]] void __cxa_throw(void* object, void* type, void (*destructor)(void*)) {
  using Throw = void (*)(void*, void*, void (*)(void*));
  static const auto real = reinterpret_cast<Throw>(dlsym(RTLD_NEXT, "__cxa_throw"));
  using devhost::thrown;
  if (devhost::InGuardedCall()) {
    void* frames[devhost::kMaxFrames];
    const int n = backtrace(frames, devhost::kMaxFrames);
    thrown.call = devhost::GuardedCallNumber();
    thrown.count = 0;
    for (int i = 1; i < n; ++i)  // from the thrower's frame on
      thrown.stack[thrown.count++] = reinterpret_cast<std::uintptr_t>(frames[i]);
  }
  if (__asan_handle_no_return != nullptr) __asan_handle_no_return();
  real(object, type, destructor);
  __builtin_unreachable();
}
