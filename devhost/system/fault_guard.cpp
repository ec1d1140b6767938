// The guard's parts that do not depend on the platform: the call clock, exceptions, the limit and
// the words for a fault.
#include <cxxabi.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "system/code_ranges.h"
#include "system/fault_guard.h"
#include "system/fault_guard_parts.h"

namespace devhost {

namespace {

std::atomic<std::int64_t> limitNanoseconds{10'000'000'000};
std::atomic<bool> faultCaught{false};

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string Demangled(const char* name) {
  int status = 0;
  const std::unique_ptr<char, decltype(&std::free)> readable(
      abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
  return status == 0 && readable ? readable.get() : name;
}

std::string Hex(std::uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

#if defined(_WIN32)
std::string DescribeException(const CaughtFault& f) {
  switch (static_cast<DWORD>(f.signal)) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR: {
      const char* what = f.access == CaughtFault::Access::Write     ? "a write to"
                         : f.access == CaughtFault::Access::Execute ? "an instruction fetch from"
                                                                    : "a read of";
      return std::string(f.signal == static_cast<int>(EXCEPTION_ACCESS_VIOLATION)
                             ? "an access violation, "
                             : "an in-page error, ") +
             what + " address " + Hex(f.address);
    }
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "an integer division by zero";
    case EXCEPTION_INT_OVERFLOW:
      return "an integer overflow";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return "an illegal instruction";
    case EXCEPTION_STACK_OVERFLOW:
      return "a stack overflow";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return "a misaligned access to address " + Hex(f.address);
    default:
      if (f.signal == SIGABRT) return "abort() was called (directly, or by std::terminate)";
      return "structured exception " + Hex(static_cast<DWORD>(f.signal));
  }
}
#else
std::string DescribeSignal(const CaughtFault& f) {
  switch (f.signal) {
    case SIGSEGV: {
      if (f.code == SI_KERNEL) return "SIGSEGV, an access outside the address space";
      const char* what = f.access == CaughtFault::Access::Write     ? "a write to"
                         : f.access == CaughtFault::Access::Execute ? "an instruction fetch from"
                                                                    : "a read of";
      return std::string("SIGSEGV, ") + what + " address " + Hex(f.address);
    }
    case SIGBUS:
      return "SIGBUS, " +
             std::string(f.code == BUS_ADRALN   ? "a misaligned access to"
                         : f.code == BUS_ADRERR ? "an access past the end of a mapped file at"
                                                : "a bus error at") +
             " address " + Hex(f.address);
    case SIGFPE:
      return std::string("SIGFPE, ") + (f.code == FPE_INTDIV   ? "an integer division by zero"
                                        : f.code == FPE_INTOVF ? "an integer overflow"
                                        : f.code == FPE_FLTDIV ? "a floating-point division by zero"
                                                               : "an arithmetic fault");
    case SIGILL:
      return "SIGILL, an illegal instruction at address " + Hex(f.address);
    case SIGABRT:
      return "SIGABRT, abort() was called (directly, or by std::terminate)";
    default:
      return "signal " + std::to_string(f.signal);
  }
}
#endif

std::string SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
#if !defined(_WIN32)
    case SIGHUP:
      return "SIGHUP";
#endif
    default:
      return "signal " + std::to_string(signal);
  }
}

}  // namespace

GuardFrame* OutermostOf(GuardFrame* from, const void* owner) {
  GuardFrame* found = nullptr;
  for (GuardFrame* f = from; f != nullptr; f = f->outer)
    if (f->owner == owner) found = f;
  return found;
}

void SeenFault::Note(const GuardFrame& top, CaughtFault::Kind noted, int number) {
  kind = noted;
  signal = number;
  code = 0;
  address = 0;
  access = CaughtFault::Access::Unknown;
  op = top.op;
  detail = top.detail;
}

CaughtFault SeenFault::Caught() const {
  CaughtFault fault;
  fault.kind = kind;
  fault.signal = signal;
  fault.code = code;
  fault.address = address;
  fault.access = access;
  fault.seconds = PluginCallLimit();
  fault.stack.assign(stack, stack + count);
  fault.firstExact = true;
  fault.op = op;
  fault.detail = detail;
  return fault;
}

bool HostCodeFaulted(const std::uintptr_t* stack, int count) {
  for (int i = 0; i < count; ++i) {
    // A return address names the instruction after the call.
    const CodeOwner owner = OwnerOfCode(i == 0 ? stack[i] : stack[i] - 1);
    if (owner == CodeOwner::Host) return true;
    if (owner == CodeOwner::Plugin) return false;
  }
  return false;
}

void GuardClock::CallStarts() {
  serial_.fetch_add(1);
  since_ = Now();
}

void GuardClock::CallEnds() { since_ = 0; }

std::optional<CaughtFault::Kind> GuardClock::InterruptDue(bool stopRequested) {
  const std::uint64_t serial = serial_.load();
  const std::int64_t since = since_.load();
  if (serial_.load() != serial) return {};  // a call began while we looked
  const std::int64_t now = Now();
  if (stopRequested && stopSeen_ == 0) stopSeen_ = now;
  if (since == 0 || interrupted_.load() == serial) return {};
  const std::int64_t limit = limitNanoseconds.load();
  std::optional<CaughtFault::Kind> due;
  if (stopSeen_ != 0 &&
      now - std::max(since, stopSeen_) >=
          std::chrono::duration_cast<std::chrono::nanoseconds>(kStopGrace).count())
    due = CaughtFault::Kind::Stop;
  else if (limit > 0 && now - since >= limit)
    due = CaughtFault::Kind::Timeout;
  if (due) interrupted_ = serial;
  return due;
}

bool GuardClock::InterruptMeant() const {
  return since_.load() != 0 && interrupted_.load() == serial_.load();
}

std::optional<CaughtFault> CallCatchingExceptions(GuardedCall call, void* context,
                                                  std::vector<std::uintptr_t> (*thrownStack)(),
                                                  const char* op, const void* detail) {
  CaughtFault fault;
  try {
    call(context);
    return std::nullopt;
  } catch (const std::exception& e) {
    fault.exception = Demangled(typeid(e).name()) + " escaped: " + e.what();
  } catch (...) {
    const std::type_info* type = abi::__cxa_current_exception_type();
    fault.exception = (type != nullptr ? Demangled(type->name()) : "unknown type") + " escaped";
  }
  fault.kind = CaughtFault::Kind::Exception;
  if (thrownStack != nullptr) fault.stack = thrownStack();
  fault.op = op;
  fault.detail = detail;
  return fault;
}

void NoteFaultCaught() { faultCaught = true; }

bool AnyFaultCaught() { return faultCaught; }

void SetPluginCallLimit(double seconds) {
  limitNanoseconds = static_cast<std::int64_t>(seconds * 1e9);
}

double PluginCallLimit() { return static_cast<double>(limitNanoseconds.load()) / 1e9; }

std::string DescribeFault(const CaughtFault& fault) {
  switch (fault.kind) {
    case CaughtFault::Kind::Signal:
#if defined(_WIN32)
      return DescribeException(fault);
#else
      return DescribeSignal(fault);
#endif
    case CaughtFault::Kind::Exception:
      return "an exception of type " + fault.exception;
    case CaughtFault::Kind::Timeout:
      return "it did not return within " + Seconds(fault.seconds) + " s";
    case CaughtFault::Kind::Stop:
      return "it did not return within " + Seconds(1) + " s of " + SignalName(fault.signal);
  }
  return "a fault";
}

}  // namespace devhost
