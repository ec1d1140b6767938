// Programs the tests start end with the test, however it ends: each child asks Linux for a signal
// when its parent dies, and a shell script hands it on to the program it `exec`s last. So an
// interrupted run leaves no host, ffmpeg or X server behind, and nothing that holds its files.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace veyrant_test {

// In a child between fork and exec: receive signal when the parent dies, and go at once if it
// already has.
inline void EndWithParent(pid_t parent, int signal = SIGKILL) {
  if (prctl(PR_SET_PDEATHSIG, signal) != 0 || getppid() != parent) _exit(127);
}

// Waits for a child, however often a signal interrupts; its status as waitpid gives it.
inline int WaitFor(pid_t pid) {
  int status = -1;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

struct ShellRun {
  int status;  // as waitpid gives it
  std::string output;
};

// Starts script with sh in folder ("": this one), its standard output to stdoutFd (-1: this
// process's); its last `exec`ed program keeps the child's id.
inline pid_t StartShell(const std::string& script, const std::string& folder = "",
                        int stdoutFd = -1) {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  EndWithParent(parent);
  if ((!folder.empty() && chdir(folder.c_str()) != 0) ||
      (stdoutFd >= 0 && dup2(stdoutFd, STDOUT_FILENO) < 0))
    _exit(127);
  execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

// Runs script with sh and keeps its standard output.
inline ShellRun RunShell(const std::string& script) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {-1, {}};
  const pid_t pid = StartShell(script, "", out[1]);
  close(out[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  close(out[0]);
  return {pid > 0 ? WaitFor(pid) : -1, output};
}

}  // namespace veyrant_test
