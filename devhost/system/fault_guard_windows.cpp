// The guard on Windows: a structured exception that nothing in the plugin handles reaches the
// unhandled-exception filter, which resumes the thread in a landing function that jumps to the
// guard; abort() raises SIGABRT, whose handler jumps there directly; the watchdog suspends a call
// that runs too long and resumes it in the landing function too. Stacks are read with the
// system's own unwinder; places are module+offset (symbols/symbolizer_windows.cpp).
#include <windows.h>

#include <atomic>
#include <csignal>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "system/code_ranges.h"
#include "system/fault_guard.h"
#include "system/fault_guard_parts.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

struct Frame : GuardFrame {
  void* exit[5];  // __builtin_setjmp's buffer
};

DWORD guardedThread = 0;
HANDLE guardedHandle = nullptr;
std::atomic<bool> installed{false};
std::atomic<Frame*> innermost{nullptr};
SeenFault seen;
Frame* landing = nullptr;  // where Land goes
std::optional<CaughtFault> passedOn;
GuardClock callClock;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

[[noreturn]] void Land() { __builtin_longjmp(landing->exit, 1); }

// From the context outwards, with the unwind data every x64 function has (a leaf has none).
int ReadStack(CONTEXT context, std::uintptr_t* out) {
  int count = 0;
  while (count < kMaxFrames && context.Rip != 0) {
    out[count++] = context.Rip;
    DWORD64 base = 0;
    PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
    if (function == nullptr) {
      context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
      context.Rsp += 8;
      continue;
    }
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handlerData,
                     &establisher, nullptr);
  }
  return count;
}

// The thread resumes in Land, on its own stack below where it was.
void Redirect(CONTEXT& context, Frame* target) {
  landing = target;
  context.Rsp = ((context.Rsp - 512) & ~DWORD64{15}) - 8;
  context.Rip = reinterpret_cast<DWORD64>(&Land);
}

bool Fatal(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return true;
    default:
      return false;
  }
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* info) {
  const auto pass = [info] {
    return previousFilter != nullptr ? previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
  };
  Frame* top = innermost.load();
  const EXCEPTION_RECORD& record = *info->ExceptionRecord;
  if (top == nullptr || GetCurrentThreadId() != guardedThread || !Fatal(record.ExceptionCode))
    return pass();
  seen.count = ReadStack(*info->ContextRecord, seen.stack);
  if (HostCodeFaulted(seen.stack, seen.count)) return pass();
  seen.Note(*top, CaughtFault::Kind::Signal, static_cast<int>(record.ExceptionCode));
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ||
      record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR) {
    seen.access = record.ExceptionInformation[0] == 1   ? CaughtFault::Access::Write
                  : record.ExceptionInformation[0] == 8 ? CaughtFault::Access::Execute
                                                        : CaughtFault::Access::Read;
    seen.address = record.ExceptionInformation[1];
  }
  Redirect(*info->ContextRecord, static_cast<Frame*>(OutermostOf(top, top->owner)));
  return EXCEPTION_CONTINUE_EXECUTION;
}

void OnAbort(int) {
  Frame* top = innermost.load();
  if (top == nullptr || GetCurrentThreadId() != guardedThread) {
    std::signal(SIGABRT, SIG_DFL);
    return;  // abort() goes on to end the process
  }
  std::signal(SIGABRT, OnAbort);
  CONTEXT context{};
  RtlCaptureContext(&context);
  seen.count = ReadStack(context, seen.stack);
  seen.Note(*top, CaughtFault::Kind::Signal, SIGABRT);
  landing = static_cast<Frame*>(OutermostOf(top, top->owner));
  __builtin_longjmp(landing->exit, 1);
}

void Watch() {
  for (;;) {
    std::this_thread::sleep_for(kWatchEvery);
    const auto kind = callClock.InterruptDue(StopSignal() != 0);
    if (!kind || SuspendThread(guardedHandle) == static_cast<DWORD>(-1)) continue;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    Frame* top = innermost.load();
    if (top != nullptr && callClock.InterruptMeant() && GetThreadContext(guardedHandle, &context)) {
      seen.count = ReadStack(context, seen.stack);
      seen.Note(*top, *kind, StopSignal());
      Redirect(context, static_cast<Frame*>(OutermostOf(top, top->owner)));
      SetThreadContext(guardedHandle, &context);
    }
    ResumeThread(guardedHandle);
  }
}

void Install() {
  guardedThread = GetCurrentThreadId();
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &guardedHandle, 0,
                  FALSE, DUPLICATE_SAME_ACCESS);
  previousFilter = SetUnhandledExceptionFilter(OnUnhandled);
  std::signal(SIGABRT, OnAbort);
  std::thread(Watch).detach();
  installed = true;
}

}  // namespace

void GuardPluginCalls() {
  static std::once_flag once;
  std::call_once(once, Install);
}

std::optional<CaughtFault> RunGuarded(const void* owner, const char* op, const void* detail,
                                      GuardedCall call, void* context) {
  if (!installed || GetCurrentThreadId() != guardedThread)
    return CallCatchingExceptions(call, context, nullptr, op, detail);
  Frame frame{{owner, op, detail, innermost.load()}, {}};
  const bool outermost = frame.outer == nullptr;
  if (outermost) callClock.CallStarts();
  innermost = &frame;
  std::optional<CaughtFault> fault;
  if (__builtin_setjmp(frame.exit) == 0) {
    fault = CallCatchingExceptions(call, context, nullptr, op, detail);
    if (auto* outer = static_cast<Frame*>(fault ? OutermostOf(frame.outer, owner) : nullptr)) {
      passedOn = std::move(fault);
      landing = outer;
      Land();
    }
  } else {
    fault = passedOn ? std::exchange(passedOn, std::nullopt) : seen.Caught();
  }
  innermost = static_cast<Frame*>(frame.outer);
  if (outermost) callClock.CallEnds();
  if (fault) NoteFaultCaught();
  return fault;
}

int GuardedDepth() {
  int depth = 0;
  for (GuardFrame* f = innermost.load(); f != nullptr; f = f->outer) ++depth;
  return depth;
}

}  // namespace devhost
