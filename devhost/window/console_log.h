// The lines the window's console shows, the last few hundred, and a script's wait for a line with
// a given text.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace devhost {

class ConsoleLog {
 public:
  void Add(const std::string& line);
  const std::deque<std::string>& Lines() const { return lines_; }

  // From now on, a line added with text in it ends the wait; it fails after seconds.
  void StartWait(const std::string& text, double now, double seconds);
  // True while a wait goes on; throws ConsoleError when it has taken too long.
  bool Waiting(double now);

 private:
  struct Wait {
    std::string text;
    std::size_t addedBefore;  // lines added before it began, which do not count
    double until;
    double seconds;
  };

  std::deque<std::string> lines_;
  std::size_t added_ = 0;  // lines ever added, the dropped ones included
  std::optional<Wait> wait_;
};

}  // namespace devhost
