// The console window along the bottom of the window: the playback state, the key help, the log
// and a line to type commands into.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "host/value_types.h"
#include "window/console_log.h"

namespace devhost {

struct ConsoleStatus {
  double time, duration;  // scene seconds
  long long frame;
  bool paused;
};

class ConsoleWindow {
 public:
  // Draws it into the current Dear ImGui frame of a window of the given size; returns a line
  // entered this frame.
  std::optional<std::string> Draw(Vector2 windowSize, const ConsoleStatus& status,
                                  const ConsoleLog& log);

 private:
  char input_[256] = {};
};

}  // namespace devhost
