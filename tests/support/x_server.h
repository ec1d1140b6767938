// An X server of the test's own, for the window tests. Xvfb picks a free display itself and says
// which (-displayfd), so servers started side by side never collide and need no lock; it ends
// with the test that started it, however the test ends.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/child_process.h"

namespace veyrant_test {

class XServer {
 public:
  XServer() {
    int number[2];
    if (pipe2(number, O_CLOEXEC) != 0) return;
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      // SIGTERM, so that it removes its lock file and socket.
      EndWithParent(parent, SIGTERM);
      const std::string fd = std::to_string(dup(number[1]));  // dup's copy stays open in Xvfb
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(number[1]);
    char buffer[16];
    for (ssize_t n; (n = read(number[0], buffer, sizeof buffer)) != 0;) {
      if (n > 0) display_.append(buffer, static_cast<std::size_t>(n));
      if ((n < 0 && errno != EINTR) || display_.ends_with('\n')) break;
    }
    close(number[0]);
    if (!display_.ends_with('\n')) display_.clear();
    if (!display_.empty()) display_ = ":" + display_.substr(0, display_.size() - 1);
  }
  ~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    WaitFor(pid_);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace veyrant_test
