// Programs the tests start end with the test, however it ends: each child asks Linux for a signal
// when its parent dies, and a shell script hands it on to the program it `exec`s last. So an
// interrupted run leaves no host, ffmpeg or X server behind, and nothing that holds its files.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

// What fd gives until its end or an error (a terminal's other side closing), or up to its first
// line break; closes it.
inline std::string ReadAll(int fd, bool firstLineOnly = false) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
    if ((n < 0 && errno != EINTR) || (firstLineOnly && text.ends_with('\n'))) break;
  }
  close(fd);
  return text;
}

// Starts script with sh in folder ("": this one), its standard output to stdoutFd (-1: this
// process's); its last `exec`ed program keeps the child's id, and gets deathSignal if the test
// dies.
inline pid_t StartShell(const std::string& script, const std::string& folder = "",
                        int stdoutFd = -1, int deathSignal = SIGKILL) {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  EndWithParent(parent, deathSignal);
  if ((!folder.empty() && chdir(folder.c_str()) != 0) ||
      (stdoutFd >= 0 && dup2(stdoutFd, STDOUT_FILENO) < 0))
    _exit(127);
  execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

struct ShellRun {
  int status;  // as waitpid gives it
  std::string output;
};

// Runs script with sh and keeps its standard output.
inline ShellRun RunShell(const std::string& script) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {-1, {}};
  const pid_t pid = StartShell(script, "", out[1]);
  close(out[1]);
  const std::string output = ReadAll(out[0]);
  return {pid > 0 ? WaitFor(pid) : -1, output};
}

// Whether every program (names, space-separated) is on the PATH.
inline bool Installed(const std::string& programs) {
  return RunShell("for p in " + programs + "; do command -v $p || exit 1; done >/dev/null")
             .status == 0;
}

}  // namespace veyrant_test

// Skips the test when a program it needs is missing; fails it under CI, whose setup installs it.
#define VEYRANT_NEEDS(programs, package)                                        \
  if (veyrant_test::Installed(programs)) {                                      \
  } else if (std::getenv("CI") != nullptr)                                      \
    GTEST_FAIL() << programs << ": not installed (Debian package " package ")"; \
  else                                                                          \
    GTEST_SKIP() << programs << ": not installed (Debian package " package ")"

namespace veyrant_test {

// A script started in the background, for tests that act on a program while it runs; stopped with
// stopSignal if the test is done with it first.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& script, const std::string& folder = "",
                          int stdoutFd = -1, int stopSignal = SIGKILL)
      : pid_(StartShell(script, folder, stdoutFd, stopSignal)), stopSignal_(stopSignal) {}
  ~RunningProgram() {
    if (pid_ > 0 && !waited_) Signal(stopSignal_), Wait();
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Signal(int signal) const { kill(pid_, signal); }
  // Its exit code, or 1000 + the signal that killed it.
  int Wait() {
    const int status = WaitFor(pid_);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  }

 private:
  pid_t pid_;
  int stopSignal_;
  bool waited_ = false;
};

}  // namespace veyrant_test
