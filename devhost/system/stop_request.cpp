#include "system/stop_request.h"

#include <csignal>
#include <mutex>

#if !defined(_WIN32)
#include <pthread.h>
#endif

namespace devhost {

namespace {

volatile std::sig_atomic_t requested = 0;
std::mutex failureMutex;  // a writer's thread may look while the main thread fails the run
std::string failure;

#if defined(_WIN32)
void Request(int signal) { requested = signal; }

void Catch(int signal) { std::signal(signal, Request); }
#else
pthread_t mainThread;

// A blocking call is interrupted only on the thread the signal reaches: it is passed on to the
// main thread, whose waits (a FIFO, a full pipe) must end.
void Request(int signal) {
  requested = signal;
  if (!pthread_equal(pthread_self(), mainThread)) pthread_kill(mainThread, signal);
}

// No SA_RESTART: a blocked read or write returns EINTR and the caller looks at the request.
void Catch(int signal) {
  struct sigaction action {};
  action.sa_handler = Request;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}
#endif

}  // namespace

Stopped::Stopped(int number)
    : std::runtime_error("stopped by signal " + std::to_string(number)), signal(number) {}

void CatchStopSignals() {
#if defined(_WIN32)
  Catch(SIGINT);
  Catch(SIGTERM);
#else
  mainThread = pthread_self();
  Catch(SIGINT);
  Catch(SIGTERM);
  Catch(SIGHUP);
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

int StopSignal() { return requested; }

void FailRun(const std::string& message) {
  const std::lock_guard lock(failureMutex);
  if (failure.empty()) failure = message;
}

void ThrowIfStopped() {
  if (const int signal = requested; signal != 0) throw Stopped(signal);
  const std::lock_guard lock(failureMutex);
  if (!failure.empty()) throw std::runtime_error(failure);
}

}  // namespace devhost
