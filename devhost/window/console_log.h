// The lines the window's console shows, the last few hundred, each also written to the terminal
// the window was started from; and a script's wait for a line with a given text.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <ostream>
#include <string>

namespace devhost {

struct LogLine {
  enum class Kind { Command, Output, Error };  // a command as run ("> step 1"), what it said
  Kind kind;
  std::string text;
};

class ConsoleLog {
 public:
  explicit ConsoleLog(std::ostream& terminal) : terminal_(terminal) {}

  // Each line of text is a line of its own; toTerminal false for lines the terminal has had.
  void Add(LogLine::Kind kind, const std::string& text, bool toTerminal = true);
  const std::deque<LogLine>& Lines() const { return lines_; }
  // Lines ever added, the dropped ones included.
  std::size_t Added() const { return added_; }

  // From the since-th line added on, a line other than a command with text in it ends the wait;
  // it fails after seconds.
  void StartWait(const std::string& text, std::size_t since, double now, double seconds);
  // True while a wait goes on; throws ConsoleError when it has taken too long.
  bool Waiting(double now);

 private:
  struct Wait {
    std::string text;
    std::size_t since;
    double until;
    double seconds;
  };

  std::ostream& terminal_;
  std::deque<LogLine> lines_;
  std::size_t added_ = 0;
  std::optional<Wait> wait_;
};

}  // namespace devhost
