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

}  // namespace devhost
