// A program started in the background, for tests that act on it while it runs (signals, two at
// once): sh runs the command, whose last `exec` keeps the child's id, and the child ends with the
// test. Linux only.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <string>

#include "support/child_process.h"

namespace veyrant_test {

class RunningProgram {
 public:
  // Runs the shell command in folder; start it with exec for the program's own id.
  RunningProgram(const std::string& command, const std::string& folder)
      : pid_(StartShell(command, folder)) {}
  ~RunningProgram() {
    if (pid_ <= 0 || waited_) return;
    kill(pid_, SIGKILL);
    Wait();
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
  pid_t pid_ = -1;
  bool waited_ = false;
};

}  // namespace veyrant_test
