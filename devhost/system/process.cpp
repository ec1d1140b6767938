#include "system/process.h"

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <limits>

namespace devhost {

#if defined(_WIN32)
int ProcessId() { return _getpid(); }

bool ProcessRunning(long long pid) {
  if (pid > static_cast<long long>(std::numeric_limits<DWORD>::max())) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) == 0 || code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}
#else
int ProcessId() { return getpid(); }

// Another user's process answers EPERM.
bool ProcessRunning(long long pid) {
  return pid <= std::numeric_limits<pid_t>::max() &&
         (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}
#endif

}  // namespace devhost
