// An X server of the test's own, for the window tests. Xvfb picks a free display itself and says
// which (-displayfd), so servers started side by side never collide and need no lock; it ends
// with the test that started it, however the test ends, by SIGTERM, so that it removes its lock
// file and socket. -noreset: a server that resets when its last client goes refuses the next
// window of the same test while it does (seen under load: "cannot open display").
#pragma once

#include <optional>
#include <string>

#include "support/child_process.h"

namespace veyrant_test {

class XServer {
 public:
  XServer() {
    int number[2];
    if (pipe2(number, O_CLOEXEC) != 0) return;
    server_.emplace(
        "exec Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>&1 >/dev/null 2>&1",
        "", number[1], SIGTERM);
    close(number[1]);
    const std::string line = ReadAll(number[0], true);
    if (line.ends_with('\n')) display_ = ":" + line.substr(0, line.size() - 1);
  }

  // ":N", or empty when the server did not start.
  const std::string& Display() const { return display_; }

 private:
  std::optional<RunningProgram> server_;
  std::string display_;
};

}  // namespace veyrant_test
