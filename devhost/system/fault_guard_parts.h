// What the Linux and the Windows guard share: the clock of the outermost guarded call, which the
// watchdog reads to interrupt one that runs too long, and the catching of exceptions.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "system/fault_guard.h"

namespace devhost {

// The most frames of a stack a fault keeps.
constexpr int kMaxFrames = 64;

// A guarded call in progress; each platform's frame adds how to jump back to it.
struct GuardFrame {
  const void* owner;
  const char* op;
  const void* detail;
  GuardFrame* outer;
};

// A fault goes to the outermost guard of the owner: the owner's code is left whole.
GuardFrame* OutermostOf(GuardFrame* from, const void* owner);

// What a handler saw, as plain values, for the guard it leaves to.
struct SeenFault {
  CaughtFault::Kind kind = CaughtFault::Kind::Signal;
  int signal = 0, code = 0;
  std::uintptr_t address = 0;
  CaughtFault::Access access = CaughtFault::Access::Unknown;
  const char* op = nullptr;
  const void* detail = nullptr;
  int count = 0;
  std::uintptr_t stack[kMaxFrames] = {};

  // Of the call top stands for; the address and access are the handler's to add.
  void Note(const GuardFrame& top, CaughtFault::Kind kind, int signal);
  CaughtFault Caught() const;
};

// Whose code faulted: the innermost frame in the host's or a plugin's code decides; the
// system's libraries in between decide nothing. Safe in a signal handler.
bool HostCodeFaulted(const std::uintptr_t* stack, int count);

// How often the watchdog looks; a limit is kept to within this.
constexpr auto kWatchEvery = std::chrono::milliseconds(20);
// A call still running this long after a stop signal is left.
constexpr auto kStopGrace = std::chrono::seconds(1);

// The outermost guarded call as the watchdog sees it from its own thread.
class GuardClock {
 public:
  void CallStarts();
  void CallEnds();
  // Counts outermost calls; a call keeps its number.
  std::uint64_t Call() const { return serial_.load(); }
  // On the watchdog's thread: the interrupt due now, if any, for the call running; each call is
  // interrupted once.
  std::optional<CaughtFault::Kind> InterruptDue(bool stopRequested);
  // On the guarded thread: whether the call an interrupt was meant for is still running.
  bool InterruptMeant() const;

 private:
  std::atomic<std::uint64_t> serial_{0};
  std::atomic<std::uint64_t> interrupted_{0};
  std::atomic<std::int64_t> since_{0};  // steady-clock nanoseconds; 0 while no call runs
  std::int64_t stopSeen_ = 0;           // the watchdog's own
};

// Runs call; an exception escaping it becomes a fault, with the stack thrownStack gives (the
// stack at the throw, where the platform can say it).
std::optional<CaughtFault> CallCatchingExceptions(GuardedCall call, void* context,
                                                  std::vector<std::uintptr_t> (*thrownStack)(),
                                                  const char* op, const void* detail);

void NoteFaultCaught();

// On the guarded thread, inside a guarded call; and the number of the outermost one (the
// watchdog's clock).
bool InGuardedCall();
std::uint64_t GuardedCallNumber();
// Linux: the stack at the last throw inside the current outermost guarded call, from the
// thrower's frame out (system/thrown_stack_posix.cpp).
std::vector<std::uintptr_t> ThrownStack();

}  // namespace devhost
