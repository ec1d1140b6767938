// The lines the window's console shows, the last few hundred, each also written to the terminal
// the window was started from.
#pragma once

#include <cstddef>
#include <deque>
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

 private:
  std::ostream& terminal_;
  std::deque<LogLine> lines_;
  std::size_t added_ = 0;
};

}  // namespace devhost
