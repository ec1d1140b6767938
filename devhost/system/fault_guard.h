// Calls into a plugin that cost the call, not the process: a fatal signal (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL, SIGABRT; structured exceptions on Windows), a C++ exception escaping, a call
// that does not return within the time limit, or one still running 1 s after a stop signal ends
// the guarded call and is handed back as what was seen: the signal, the addresses and the raw
// stack. Nothing is read or formatted inside a signal handler; the caller turns the addresses into
// places afterwards.
//
// Guards nest. A fault goes to the outermost guard of the same owner, so a plugin faulting in a
// hook that its own page set off leaves its page's code too. A fault in the host's own code
// crashes the process as it would unguarded: the host's bugs are not hidden.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace devhost {

struct CaughtFault {
  enum class Kind { Signal, Exception, Timeout, Stop };
  Kind kind = Kind::Signal;
  int signal = 0;              // Signal: the signal (or the exception code on Windows); Stop: it
  int code = 0;                // Signal: si_code
  std::uintptr_t address = 0;  // Signal: the address the fault names
  enum class Access { Unknown, Read, Write, Execute } access = Access::Unknown;
  std::string exception;  // Exception: its type and what it says
  double seconds = 0;     // Timeout: the limit
  // Code addresses, innermost first; the first is exact where firstExact, the rest are return
  // addresses.
  std::vector<std::uintptr_t> stack;
  bool firstExact = false;
  // Of the innermost guard of the owner when it faulted, as given to RunGuarded.
  const char* op = nullptr;
  const void* detail = nullptr;
};

// Installs the handlers and starts the watchdog, once; the calling thread is the one whose calls
// are guarded (elsewhere calls run unguarded but for exceptions).
void GuardPluginCalls();
// 0: no limit.
void SetPluginCallLimit(double seconds);
double PluginCallLimit();

// Runs call(context) guarded for owner; op and detail describe the call to whoever reads the
// fault. Returns the fault that ended it early, if one did.
using GuardedCall = void (*)(void* context);
std::optional<CaughtFault> RunGuarded(const void* owner, const char* op, const void* detail,
                                      GuardedCall call, void* context);

// How many guarded calls are running now.
int GuardedDepth();
// Whether a guard ever caught a fault: that module's code may still be registered to run at
// exit, so the program ends without running it.
bool AnyFaultCaught();

// "SIGSEGV, a write to address 0x0", "an exception of type std::runtime_error escaped: boom",
// "it did not return within 10 s".
std::string DescribeFault(const CaughtFault& fault);

}  // namespace devhost
