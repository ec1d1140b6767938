// A script's `wait TEXT`: the script goes on once the console log shows a line with the text, and
// fails when none comes within 30 s.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "window/console_log.h"

namespace devhost {

class ScriptWait {
 public:
  static constexpr double kSeconds = 30;

  // From the since-th line added to the log on, a line other than a command with text in it ends
  // the wait.
  void Start(const std::string& text, std::size_t since, double now);
  // True while the wait goes on; throws ConsoleError when it has taken too long.
  bool Waiting(const ConsoleLog& log, double now);

 private:
  struct Wait {
    std::string text;
    std::size_t since;
    double until;
  };
  std::optional<Wait> wait_;
};

}  // namespace devhost
