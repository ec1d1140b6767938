// The guard on Linux: fatal signals caught on an alternate stack and left with siglongjmp to the
// guard; the watchdog thread interrupts a call that runs too long with a real-time signal, whose
// handler leaves it the same way. The handlers only copy plain values: the stack as addresses,
// taken with the unwinder that glibc's backtrace uses, warmed up beforehand.
#include <execinfo.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>
#include <typeinfo>
#include <utility>
#include <vector>

#include "system/code_ranges.h"
#include "system/fault_guard.h"
#include "system/fault_guard_parts.h"
#include "system/stop_request.h"

// Sanitizer builds have it: a jump over frames must tell AddressSanitizer.
extern "C" void __asan_handle_no_return() __attribute__((weak));

namespace devhost {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

struct Frame : GuardFrame {
  sigjmp_buf exit;
};

pthread_t guardedThread;
std::atomic<bool> installed{false};
std::atomic<Frame*> innermost{nullptr};
SeenFault seen;
std::optional<CaughtFault> passedOn;  // an exception an inner guard caught, for an outer one
GuardClock callClock;
int interruptSignal = 0;
std::atomic<int> interruptKind{0};
struct sigaction previous[std::size(kFatalSignals)];

// A second fault while the stack is being read (a stack the plugin wrecked) gives up on it.
sigjmp_buf readingStack;
volatile sig_atomic_t inStackRead = 0;

// The stack from the interrupted instruction outwards; the handler's own frames left out.
int ReadStack(std::uintptr_t pc, std::uintptr_t* out) {
  void* frames[kMaxFrames + 8];
  int n = 0;
  inStackRead = 1;
  if (sigsetjmp(readingStack, 1) == 0) n = backtrace(frames, static_cast<int>(std::size(frames)));
  inStackRead = 0;
  int first = 0;
  while (first < n && reinterpret_cast<std::uintptr_t>(frames[first]) != pc) ++first;
  int count = 0;
  out[count++] = pc;
  for (int i = first + 1; i < n && count < kMaxFrames; ++i)
    out[count++] = reinterpret_cast<std::uintptr_t>(frames[i]);
  return count;
}

std::size_t IndexOf(int signal) {
  return static_cast<std::size_t>(
      std::find(std::begin(kFatalSignals), std::end(kFatalSignals), signal) -
      std::begin(kFatalSignals));
}

// As if this handler were not there: the handler before it (a sanitizer's report), or the
// default action, which the returning fault meets at once.
void PassOn(int signal, siginfo_t* info, void* context) {
  const struct sigaction& before = previous[IndexOf(signal)];
  if ((before.sa_flags & SA_SIGINFO) != 0 && before.sa_sigaction != nullptr) {
    before.sa_sigaction(signal, info, context);
    return;
  }
  if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
    before.sa_handler(signal);
    return;
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

CaughtFault::Access AccessOf(int signal, const ucontext_t& context) {
#if defined(__x86_64__)
  if (signal != SIGSEGV) return CaughtFault::Access::Unknown;
  // The page fault's error code: bit 1 a write, bit 4 an instruction fetch.
  const auto error = context.uc_mcontext.gregs[REG_ERR];
  if ((error & 0x10) != 0) return CaughtFault::Access::Execute;
  return (error & 0x2) != 0 ? CaughtFault::Access::Write : CaughtFault::Access::Read;
#else
  (void)signal, (void)context;
  return CaughtFault::Access::Unknown;
#endif
}

std::uintptr_t ProgramCounter(const ucontext_t& context) {
#if defined(__x86_64__)
  return static_cast<std::uintptr_t>(context.uc_mcontext.gregs[REG_RIP]);
#else
  (void)context;
  return 0;
#endif
}

void OnSignal(int signal, siginfo_t* info, void* rawContext) {
  if (inStackRead != 0 && signal != interruptSignal) siglongjmp(readingStack, 1);
  const int savedErrno = errno;
  Frame* top = innermost.load(std::memory_order_relaxed);
  const bool guarded = top != nullptr && pthread_equal(pthread_self(), guardedThread) != 0;
  if (signal == interruptSignal && (!guarded || !callClock.InterruptMeant())) {
    errno = savedErrno;
    return;  // the call it was meant for has returned
  }
  if (!guarded) return PassOn(signal, info, rawContext);
  const auto& context = *static_cast<const ucontext_t*>(rawContext);
  seen.count = ReadStack(ProgramCounter(context), seen.stack);
  if (signal != interruptSignal && HostCodeFaulted(seen.stack, seen.count))
    return PassOn(signal, info, rawContext);
  if (signal == interruptSignal) {
    seen.Note(*top, static_cast<CaughtFault::Kind>(interruptKind.load()), StopSignal());
  } else {
    seen.Note(*top, CaughtFault::Kind::Signal, signal);
    seen.code = info->si_code;
    seen.address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    seen.access = AccessOf(signal, context);
  }
  auto* target = static_cast<Frame*>(OutermostOf(top, top->owner));
  if (__asan_handle_no_return != nullptr) __asan_handle_no_return();
  siglongjmp(target->exit, 1);
}

void Watch() {
  for (;;) {
    std::this_thread::sleep_for(kWatchEvery);
    if (const auto kind = callClock.InterruptDue(StopSignal() != 0)) {
      interruptKind = static_cast<int>(*kind);
      pthread_kill(guardedThread, interruptSignal);
    }
  }
}

void Install() {
  guardedThread = pthread_self();
  interruptSignal = SIGRTMIN;
  // The stack may be what failed.
  static char alternate[256 * 1024];
  stack_t stack{};
  stack.ss_sp = alternate;
  stack.ss_size = sizeof alternate;
  sigaltstack(&stack, nullptr);
  // The unwinder loads on first use, which no handler may do.
  void* warm[4];
  backtrace(warm, 4);
  struct sigaction action {};
  action.sa_sigaction = OnSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
    sigaction(kFatalSignals[i], &action, &previous[i]);
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER | SA_RESTART;
  sigaction(interruptSignal, &action, nullptr);
  // The watchdog takes no signal: the stop signals go to the threads that wait on them.
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &old);
  std::thread(Watch).detach();
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  installed = true;
}

}  // namespace

void GuardPluginCalls() {
  static std::once_flag once;
  std::call_once(once, Install);
}

std::optional<CaughtFault> RunGuarded(const void* owner, const char* op, const void* detail,
                                      GuardedCall call, void* context) {
  if (!installed || pthread_equal(pthread_self(), guardedThread) == 0)
    return CallCatchingExceptions(call, context, {}, op, detail);
  Frame frame{{owner, op, detail, innermost.load()}, {}};
  const bool outermost = frame.outer == nullptr;
  if (outermost) callClock.CallStarts();
  innermost = &frame;
  std::optional<CaughtFault> fault;
  // No handler changes the signal mask (SA_NODEFER, nothing added), so none is saved: saving it
  // would cost a system call on every call into the plugin.
  if (sigsetjmp(frame.exit, 0) == 0) {
    fault = CallCatchingExceptions(call, context, &ThrownStack, op, detail);
    if (auto* outer = static_cast<Frame*>(fault ? OutermostOf(frame.outer, owner) : nullptr)) {
      // The owner's code is further out too: leave it as a signal would.
      passedOn = std::move(fault);
      siglongjmp(outer->exit, 2);
    }
  } else {
    fault = passedOn ? std::exchange(passedOn, std::nullopt) : seen.Caught();
  }
  innermost = static_cast<Frame*>(frame.outer);
  if (outermost) callClock.CallEnds();
  if (fault) NoteFaultCaught();
  return fault;
}

bool InGuardedCall() {
  return innermost.load() != nullptr && pthread_equal(pthread_self(), guardedThread) != 0;
}

std::uint64_t GuardedCallNumber() { return callClock.Call(); }

int GuardedDepth() {
  int depth = 0;
  for (GuardFrame* f = innermost.load(); f != nullptr; f = f->outer) ++depth;
  return depth;
}

}  // namespace devhost
